#include "Figures.h"
#include "Sketch.h"

namespace brekka::pictures {
namespace {

// Type 3 in data units; type 4 is the same picture turned half round, which keeps
// the slopes and puts the sloping segment first.
struct Layout {
    double bp = 0.45;
    double xh = 0.22, yh = 0.3;  // central point of the horizontal segment
    double xs = 0.74, ys = 0.66; // central point of the sloping segment
    double rc = 0.85;            // slope of the sloping segment's own regression line
    double Regression(double x) const { return ys + rc * (x - xs); }
    double Cross() const { return xs + (yh - ys) / rc; }
};

struct Turn {
    bool half; // type 4
    QPointF operator()(double x, double y) const {
        return half ? QPointF(1 - x, 1 - y) : QPointF(x, y);
    }
};

void Line(QPainter& painter, const Frame& frame, const Turn& turn, double x1, double y1, double x2,
          double y2) {
    const QPointF a = turn(x1, y1);
    const QPointF b = turn(x2, y2);
    DrawSegment(painter, frame, a.x(), a.y(), b.x(), b.y());
}

void DrawPanel(QPainter& painter, const QRectF& cell, int type, int method) {
    const Layout l;
    const Turn turn{type == 4};
    painter.setPen(kInk);
    painter.setFont(TextFont(14, true));
    painter.drawText(QRectF(cell.left(), cell.top() + 4, cell.width(), 18), Qt::AlignHCenter,
                     QString("Type %1, method %2").arg(type).arg(method));

    const Frame frame(QRectF(cell.left() + 36, cell.top() + 44, cell.width() - 70, 118));
    Scatter scatter(type * 10u + method);
    std::vector<QPointF> dots;
    for (const QPointF& p :
         scatter.Around([&l](double) { return l.yh; }, 0.02, l.bp - 0.02, 8, 0.06)) {
        dots.push_back(turn(p.x(), p.y()));
    }
    for (const QPointF& p :
         scatter.Around([&l](double x) { return l.Regression(x); }, l.bp + 0.03, 0.98, 9, 0.06)) {
        dots.push_back(turn(p.x(), p.y()));
    }
    DrawDots(painter, frame, dots, 2.2);

    const double cross = l.Cross();
    DrawVertical(painter, frame, turn(l.bp, 0).x(), "BP", 12, kGuide);
    // Xcross is named at the top, where it cannot run into the BP label.
    const QPointF crossAt = frame.Map(turn(cross, 0).x(), 0);
    const QPointF crossTop = frame.Map(turn(cross, 0).x(), 1);
    painter.setPen(QPen(kAccent, 1.2, Qt::DotLine));
    painter.drawLine(crossAt, crossTop);
    painter.setPen(kAccent);
    painter.setFont(TextFont(12, true));
    painter.drawText(QRectF(crossTop.x() - 30, crossTop.y() - 17, 60, 15), Qt::AlignCenter,
                     "Xcross");
    DrawAxes(painter, frame, 12);

    // The two auxiliary lines that meet at Xcross.
    painter.setPen(QPen(kAccent, 1.3, Qt::DashLine));
    Line(painter, frame, turn, cross - 0.08, l.Regression(cross - 0.08), 0.98, l.Regression(0.98));
    Line(painter, frame, turn, 0.02, l.yh, cross + 0.08, l.yh);

    painter.setPen(QPen(kLine, 2.6, Qt::SolidLine, Qt::RoundCap));
    if (method == 1) {
        const double level = l.Regression(l.bp);
        Line(painter, frame, turn, 0.02, level, l.bp, level);
        Line(painter, frame, turn, l.bp, level, 0.98, l.Regression(0.98));
    } else {
        const double slope = (l.ys - l.yh) / (l.xs - l.bp);
        Line(painter, frame, turn, 0.02, l.yh, l.bp, l.yh);
        Line(painter, frame, turn, l.bp, l.yh, 0.98, l.yh + slope * (0.98 - l.bp));
    }
    const QPointF h = turn(l.xh, l.yh);
    const QPointF s = turn(l.xs, l.ys);
    DrawCentre(painter, frame, h.x(), h.y(), 3.5);
    DrawCentre(painter, frame, s.x(), s.y(), 3.5);
}

} // namespace

QImage DrawMethods() {
    QImage image(600, 420, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            DrawPanel(painter, QRectF(column * 300, row * 190, 300, 190), row + 3, column + 1);
        }
    }
    painter.setPen(QPen(QColor(215, 215, 215), 1));
    painter.drawLine(QPointF(300, 6), QPointF(300, 374));
    painter.drawLine(QPointF(6, 190), QPointF(594, 190));
    painter.drawLine(QPointF(6, 380), QPointF(594, 380));

    // Legend.
    const double y = 400;
    painter.setFont(TextFont(12));
    painter.setPen(QPen(kLine, 2.6));
    painter.drawLine(QPointF(14, y), QPointF(38, y));
    painter.setPen(kInk);
    painter.drawText(QPointF(44, y + 4), "function");
    painter.setPen(QPen(kAccent, 1.3, Qt::DashLine));
    painter.drawLine(QPointF(112, y), QPointF(136, y));
    painter.setPen(kInk);
    painter.drawText(QPointF(142, y + 4), "regression line and level");
    const Frame unit(QRectF(322, y, 1, 1));
    DrawCentre(painter, unit, 0, 0, 3.5);
    painter.setPen(kInk);
    painter.drawText(QPointF(332, y + 4), "central point of a segment");
    return image;
}

} // namespace brekka::pictures
