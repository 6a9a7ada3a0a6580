#include "common/SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap RenderSvg(const QString& file, const QSize& size, qreal devicePixelRatio)
{
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(file);
    if (renderer.isValid()) {
        QPainter painter(&picture);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return picture;
}

QIcon SvgIcon(const QString& file)
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(RenderSvg(file, QSize(side, side), 1.0));
    return icon;
}
