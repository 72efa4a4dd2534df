#pragma once

#include "rtf/tablebuilder.h"

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QTextBlock>
#include <QTextDocument>

namespace quillo::test {

// `doc` drawn within `band` (document coordinates) on white, as a window draws what it shows.
inline QImage drawnBand(QTextDocument& doc, const QRectF& band) {
    QImage image(band.size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-band.topLeft());
    doc.drawContents(&painter, band);
    return image;
}

// The first paragraph of `doc` between two parts of a long table; invalid when there is none.
inline QTextBlock firstTableSeam(const QTextDocument& doc) {
    QTextBlock seam = doc.begin();
    while (seam.isValid() && !rtf::isTableSeam(seam))
        seam = seam.next();
    return seam;
}

} // namespace quillo::test
