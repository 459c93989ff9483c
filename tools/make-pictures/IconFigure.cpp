#include "Figures.h"
#include "Sketch.h"

namespace brekka::pictures {

// resources/icons/brekka.svg is the same drawing written by hand on the same 64-unit
// grid: a change here is made there too, so the desktop shows one icon at every size.
QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 139));
    painter.drawRoundedRect(QRectF(2 * s, 2 * s, 60 * s, 60 * s), 10 * s, 10 * s);

    // A few observations and the broken line through them, breaking at two thirds.
    painter.setBrush(QColor(120, 220, 255));
    for (const QPointF& dot : {QPointF(13, 45), QPointF(20, 41), QPointF(26, 33), QPointF(33, 29),
                               QPointF(40, 22), QPointF(47, 21), QPointF(53, 22)}) {
        painter.drawEllipse(QPointF(dot.x() * s, dot.y() * s), 2.6 * s, 2.6 * s);
    }
    painter.setPen(QPen(QColor(255, 255, 255), 4 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QPointF line[] = {QPointF(10 * s, 49 * s), QPointF(42 * s, 20 * s),
                            QPointF(56 * s, 20 * s)};
    painter.drawPolyline(line, 3);
    // Flat ends keep the dashes 8 units on and 4 off, as the SVG's dash array says.
    painter.setPen(QPen(QColor(255, 80, 80), 2 * s, Qt::DashLine, Qt::FlatCap));
    painter.drawLine(QPointF(42 * s, 12 * s), QPointF(42 * s, 54 * s));
    return image;
}

} // namespace brekka::pictures
