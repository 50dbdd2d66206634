#include "windowkeys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace {
// Sees the key presses that reach the window itself: those its controls let pass on to it.
class EscapeCloses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || watched != parent())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        static_cast<QWidget*>(watched)->close();
        return true;
    }
};
} // namespace

void kov::useWindowKeys(QWidget* window, EscapeKey escape)
{
    // An auto-default button takes Enter while it has the focus; outside a dialog that is all
    // it changes.
    for (QPushButton* button : window->findChildren<QPushButton*>())
        button->setAutoDefault(true);
    if (escape == EscapeKey::ClosesWindow)
        window->installEventFilter(new EscapeCloses(window));
}
