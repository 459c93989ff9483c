#include "Figures.h"
#include "Sketch.h"

namespace brekka::pictures {

QImage DrawInput() {
    QImage image(330, 300, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kInk);
    painter.setFont(TextFont(15, true));
    painter.drawText(QRectF(0, 8, 330, 20), Qt::AlignHCenter, "Y against X");
    painter.setFont(TextFont(12));
    painter.drawText(QRectF(0, 28, 330, 16), Qt::AlignHCenter, "one independent variable");

    const Frame frame(QRectF(44, 62, 260, 170));
    const double bp = 0.6;
    const auto f = [bp](double x) { return x < bp ? 0.15 + 1.05 * x : 0.78 - 0.15 * (x - bp); };
    Scatter scatter(11u);
    DrawDots(painter, frame, scatter.Around(f, 0.02, 0.98, 22, 0.08), 2.6);
    DrawVertical(painter, frame, bp, "BP", 12, kGuide);
    DrawAxes(painter, frame, 13);
    painter.setPen(QPen(kLine, 2.6, Qt::SolidLine, Qt::RoundCap));
    DrawSegment(painter, frame, 0.02, f(0.02), bp, f(bp));
    DrawSegment(painter, frame, bp, f(bp), 0.98, f(0.98));

    painter.setPen(kInk);
    painter.setFont(TextFont(12));
    painter.drawText(QRectF(10, 258, 310, 16), Qt::AlignHCenter,
                     "Y : dependent variable, e.g. crop yield");
    painter.drawText(QRectF(10, 276, 310, 16), Qt::AlignHCenter,
                     "X : independent variable, e.g. depth of water table");
    return image;
}

} // namespace brekka::pictures
