#include "placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
// Waits for the first activation after a show, when the window manager has framed the window.
class FramedWatch : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != parent())
            return false;
        if (event->type() == QEvent::Show)
            m_waiting = true;
        if (event->type() == QEvent::WindowActivate && m_waiting) {
            m_waiting = false;
            auto* window = static_cast<QWidget*>(watched);
            kov::keepOnScreen(window, kov::frameMargins(window));
        }
        return false;
    }

private:
    bool m_waiting = false;
};

std::optional<QMargins>& overrideValue()
{
    static std::optional<QMargins> value;
    return value;
}

QMargins ownFrame(const QWidget* window)
{
    if (overrideValue())
        return *overrideValue();
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}
} // namespace

void kov::setFrameMarginsOverride(std::optional<QMargins> frame)
{
    overrideValue() = frame;
}

QMargins kov::frameMargins(const QWidget* window, const QWidget* shown)
{
    // Before the window manager has framed a window, Qt reports no frame at all.
    if (window && (overrideValue() || window->isVisible())) {
        const QMargins own = ownFrame(window);
        if (!own.isNull())
            return own;
    }
    if (shown && shown->isVisible())
        return ownFrame(shown);
    return {};
}

QRect kov::frameRect(const QWidget* window, const QMargins& frame)
{
    return window->geometry().marginsAdded(frame);
}

void kov::moveFrameTo(QWidget* window, const QPoint& frameTopLeft, const QMargins& frame)
{
    window->setGeometry(QRect(frameTopLeft + QPoint(frame.left(), frame.top()), window->size()));
}

QPoint kov::centredFrameTopLeft(const QRect& available, const QSize& client, const QMargins& frame)
{
    const QSize outer = client.grownBy(frame);
    return {available.left() + qMax(0, (available.width() - outer.width()) / 2),
            available.top() + qMax(0, (available.height() - outer.height()) / 2)};
}

QRect kov::frameInside(const QRect& outer, const QRect& available)
{
    // Right and bottom first: what still does not fit then runs past them, not past the top.
    QRect inside = outer;
    if (inside.right() > available.right())
        inside.moveRight(available.right());
    if (inside.bottom() > available.bottom())
        inside.moveBottom(available.bottom());
    if (inside.left() < available.left())
        inside.moveLeft(available.left());
    if (inside.top() < available.top())
        inside.moveTop(available.top());
    return inside;
}

void kov::keepOnScreen(QWidget* window, const QMargins& frame)
{
    const QRect outer = frameRect(window, frame);
    // The screen under the window's middle; one not on any screen goes onto its own.
    const QScreen* on = QGuiApplication::screenAt(outer.center());
    if (!on)
        on = window->screen();
    if (!on)
        return;
    const QRect inside = frameInside(outer, on->availableGeometry());
    if (inside != outer)
        moveFrameTo(window, inside.topLeft(), frame);
}

void kov::keepOnScreenWhenFramed(QWidget* window)
{
    window->installEventFilter(new FramedWatch(window));
}
