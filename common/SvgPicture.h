#pragma once

// Pictures drawn from the SVG art in the resources, at whatever size and
// screen scale they are shown.

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The picture in file drawn to fill size (in device-independent pixels) on a
// screen of the given pixel ratio. A file that cannot be read gives a
// transparent picture of that size.
QPixmap RenderSvg(const QString& file, const QSize& size, qreal devicePixelRatio);

// An icon of the picture in file, drawn sharp at the usual icon sizes.
QIcon SvgIcon(const QString& file);
