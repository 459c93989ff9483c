#include "Figures.h"
#include "Sketch.h"

#include <QPainterPath>

#include <cmath>

namespace brekka::pictures {
namespace {

// The regression line RL through its central point, the confidence limits as the
// curves they are and as the straight pieces the graphs draw: lines through the
// central point with the slopes RC -/+ T.St.Dev.RC far from it, and a parallel of RL
// near it.
struct Belt {
    double xav = 0.5, yav = 0.47, rc = 0.55;
    double spread = 0.3; // T times the slope's standard deviation
    double u = 0.06;     // half width of the belt at the central point
    double Line(double x) const { return yav + rc * (x - xav); }
    double Half(double x) const {
        return std::sqrt(u * u + spread * spread * (x - xav) * (x - xav));
    }
};

QPainterPath Curve(const Frame& frame, const Belt& belt, double sign) {
    QPainterPath path;
    for (int i = 0; i <= 90; ++i) {
        const double x = 0.05 + 0.9 * i / 90.0;
        const QPointF p = frame.Map(x, belt.Line(x) + sign * belt.Half(x));
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    return path;
}

std::vector<QPointF> StraightPieces(const Belt& belt, double sign) {
    const double lo = belt.rc - sign * belt.spread; // the far left piece
    const double hi = belt.rc + sign * belt.spread; // the far right piece
    const double w = 1.4 * belt.u;
    const double x2 = belt.xav - w / belt.spread;
    const double x5 = belt.xav + w / belt.spread;
    const auto on = [&belt](double slope, double x) { return belt.yav + slope * (x - belt.xav); };
    return {{0.05, on(lo, 0.05)},
            {x2, on(lo, x2)},
            {belt.xav - 0.2, belt.Line(belt.xav - 0.2) + sign * belt.u},
            {belt.xav + 0.2, belt.Line(belt.xav + 0.2) + sign * belt.u},
            {x5, on(hi, x5)},
            {0.95, on(hi, 0.95)}};
}

void Label(QPainter& painter, QPointF at, const QString& text, int pixels, const QColor& colour,
           bool bold = false) {
    painter.setPen(colour);
    painter.setFont(TextFont(pixels, bold));
    painter.drawText(at, text);
}

} // namespace

QImage DrawConfidence() {
    QImage image(600, 420, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const Frame frame(QRectF(62, 62, 500, 300));
    const Belt belt;

    painter.setPen(kInk);
    painter.setFont(TextFont(16, true));
    painter.drawText(QRectF(0, 8, 600, 22), Qt::AlignHCenter,
                     "Confidence belt of a regression line");

    Scatter scatter(5u);
    DrawDots(painter, frame,
             scatter.Around([&belt](double x) { return belt.Line(x); }, 0.06, 0.94, 26, 0.11), 2.6);

    // Dotted guides from the central point to both axes.
    painter.setPen(QPen(kGuide, 1, Qt::DotLine));
    DrawSegment(painter, frame, belt.xav, 0, belt.xav, belt.yav);
    DrawSegment(painter, frame, 0, belt.yav, belt.xav, belt.yav);
    DrawAxes(painter, frame, 14);
    const QPointF xavAt = frame.Map(belt.xav, 0);
    const QPointF yavAt = frame.Map(0, belt.yav);
    Label(painter, QPointF(xavAt.x() - 12, xavAt.y() + 18), "Xav", 13, kInk, true);
    Label(painter, QPointF(yavAt.x() - 34, yavAt.y() + 5), "Yav", 13, kInk, true);

    painter.setPen(QPen(kInk, 1.3, Qt::DashLine));
    painter.drawPath(Curve(frame, belt, 1));
    painter.drawPath(Curve(frame, belt, -1));

    painter.setPen(QPen(kBelt, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const double sign : {1.0, -1.0}) {
        const auto pieces = StraightPieces(belt, sign);
        QPolygonF polyline;
        for (const QPointF& p : pieces) {
            polyline << frame.Map(p.x(), p.y());
        }
        painter.drawPolyline(polyline);
    }

    painter.setPen(QPen(kLine, 2.6, Qt::SolidLine, Qt::RoundCap));
    DrawSegment(painter, frame, 0.05, belt.Line(0.05), 0.95, belt.Line(0.95));
    DrawCentre(painter, frame, belt.xav, belt.yav, 4.5);

    const QPointF rlAt = frame.Map(0.95, belt.Line(0.95));
    Label(painter, QPointF(rlAt.x() + 8, rlAt.y() + 5), "RL", 15, kLine, true);
    const QPointF centreAt = frame.Map(belt.xav, belt.yav);
    Label(painter, QPointF(centreAt.x() + 12, centreAt.y() + 22), "(Xav, Yav)", 13, kInk, true);

    // Legend.
    const double ly = 392;
    painter.setPen(QPen(kInk, 1.3, Qt::DashLine));
    painter.drawLine(QPointF(70, ly), QPointF(110, ly));
    Label(painter, QPointF(118, ly + 5), "curved confidence limits", 13, kInk);
    painter.setPen(QPen(kBelt, 2.2));
    painter.drawLine(QPointF(300, ly), QPointF(340, ly));
    Label(painter, QPointF(348, ly + 5), "straight-line approximation", 13, kInk);
    return image;
}

} // namespace brekka::pictures
