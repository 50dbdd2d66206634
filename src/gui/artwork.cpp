#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Artwork {

QString lcdStyleSheet()
{
    return QStringLiteral("background-color: rgb(116, 150, 91); color: rgb(20, 32, 16); "
                          "border: 2px inset rgb(70, 90, 55); font-family: monospace;");
}

QPixmap decoration(const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1, 1, size.width() - 2, size.height() - 2);
    // A tuner screen with a red record dot and two sync arrows around it.
    p.setBrush(QColor(116, 150, 91));
    p.setPen(QPen(QColor(40, 50, 35), 1.5));
    p.drawRoundedRect(r, r.width() * 0.18, r.height() * 0.18);
    p.setBrush(QColor(200, 30, 30));
    p.setPen(Qt::NoPen);
    p.drawEllipse(r.center(), r.width() * 0.16, r.height() * 0.16);
    p.setPen(QPen(QColor(25, 40, 20), r.width() * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF ring =
        r.adjusted(r.width() * 0.22, r.height() * 0.22, -r.width() * 0.22, -r.height() * 0.22);
    p.drawArc(ring, 30 * 16, 120 * 16);
    p.drawArc(ring, 210 * 16, 120 * 16);
    return pixmap;
}

QIcon windowIcon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64})
        icon.addPixmap(decoration(QSize(side, side)));
    return icon;
}

QPixmap background(const QSize& size, bool large)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, large ? QColor(92, 100, 112) : QColor(84, 92, 104));
    g.setColorAt(1, QColor(40, 44, 52));
    p.fillRect(pixmap.rect(), g);
    p.setPen(QColor(255, 255, 255, 18));
    for (int y = 0; y < size.height(); y += 4)
        p.drawLine(0, y, size.width(), y);
    return pixmap;
}

QPixmap buttonFace(bool underMouse, const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, underMouse ? QColor(70, 78, 90) : QColor(150, 160, 175));
    g.setColorAt(1, underMouse ? QColor(120, 130, 145) : QColor(80, 88, 100));
    p.setBrush(g);
    p.setPen(QPen(QColor(30, 30, 36), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 5, 5);
    return pixmap;
}

} // namespace Artwork
