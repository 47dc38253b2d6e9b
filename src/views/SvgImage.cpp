#include "SvgImage.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace lexi {

QPixmap svgPixmap(const QString &path, QSize size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

QIcon svgIcon(const QString &path, QSize size)
{
    return QIcon(svgPixmap(path, size));
}

} // namespace lexi
