#pragma once
// Small drawing aids shared by the pictures: a plot frame mapping data units onto
// pixels, axes, the breakpoint mark, data dots and a fixed-seed scatter.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

namespace brekka::pictures {

inline const QColor kInk(0, 0, 0);
inline const QColor kLine(0, 0, 139);
inline const QColor kBelt(220, 0, 0);
inline const QColor kDots(120, 120, 120);
inline const QColor kGuide(110, 110, 110);
inline const QColor kAccent(0, 120, 0);

QFont TextFont(int pixels, bool bold = false);

// Data units 0..1 on both axes, drawn into the pixel rectangle `area`.
class Frame {
public:
    explicit Frame(const QRectF& area) : area_(area) {}
    QPointF Map(double x, double y) const {
        return {area_.left() + x * area_.width(), area_.bottom() - y * area_.height()};
    }
    const QRectF& Area() const { return area_; }

private:
    QRectF area_;
};

// Both axes with arrow heads from the lower left corner, named Y and X.
void DrawAxes(QPainter& painter, const Frame& frame, int labelPixels);

// A dashed vertical line at x with its label under the horizontal axis.
void DrawVertical(QPainter& painter, const Frame& frame, double x, const QString& label,
                  int labelPixels, const QColor& colour);

// A line in data units.
void DrawSegment(QPainter& painter, const Frame& frame, double x1, double y1, double x2, double y2);

void DrawDots(QPainter& painter, const Frame& frame, const std::vector<QPointF>& points,
              double radius);

// A small open square round a central point.
void DrawCentre(QPainter& painter, const Frame& frame, double x, double y, double half);

// A repeatable scatter: the same pictures come out of every run.
class Scatter {
public:
    explicit Scatter(std::uint32_t seed) : state_(seed) {}
    double Next(); // uniform in -1..1
    template <typename Function>
    std::vector<QPointF> Around(Function f, double from, double to, int count, double spread) {
        std::vector<QPointF> points;
        for (int i = 0; i < count; ++i) {
            const double x = from + (to - from) * (i + 0.5 + 0.4 * Next()) / count;
            points.emplace_back(x, f(x) + spread * Next());
        }
        return points;
    }

private:
    std::uint32_t state_;
};

} // namespace brekka::pictures
