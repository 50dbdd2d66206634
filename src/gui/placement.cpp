#include "placement.h"

#include <QWidget>

namespace {
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
