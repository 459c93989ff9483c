#include "Sketch.h"

#include <QPainterPath>
#include <QPen>

namespace brekka::pictures {

QFont TextFont(int pixels, bool bold) {
    QFont font("Arial");
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

namespace {

void Arrow(QPainter& painter, QPointF tip, QPointF direction) {
    const QPointF side(-direction.y(), direction.x());
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - 8 * direction + 3.5 * side);
    head.lineTo(tip - 8 * direction - 3.5 * side);
    head.closeSubpath();
    painter.fillPath(head, kInk);
}

} // namespace

void DrawAxes(QPainter& painter, const Frame& frame, int labelPixels) {
    const QRectF& a = frame.Area();
    painter.setPen(QPen(kInk, 1.4));
    const QPointF origin = a.bottomLeft();
    const QPointF top(a.left(), a.top() - 6);
    const QPointF right(a.right() + 6, a.bottom());
    painter.drawLine(origin, top);
    painter.drawLine(origin, right);
    Arrow(painter, top, QPointF(0, -1));
    Arrow(painter, right, QPointF(1, 0));
    painter.setFont(TextFont(labelPixels, true));
    painter.drawText(QRectF(a.left() - 22, a.top() - 14, 16, labelPixels + 4),
                     Qt::AlignRight | Qt::AlignVCenter, "Y");
    painter.drawText(QRectF(a.right() - 6, a.bottom() + 3, 24, labelPixels + 4), Qt::AlignCenter,
                     "X");
}

void DrawVertical(QPainter& painter, const Frame& frame, double x, const QString& label,
                  int labelPixels, const QColor& colour) {
    const QPointF bottom = frame.Map(x, 0);
    const QPointF top = frame.Map(x, 1);
    QPen pen(colour, 1.2, Qt::DashLine);
    painter.setPen(pen);
    painter.drawLine(bottom, top);
    painter.setPen(colour);
    painter.setFont(TextFont(labelPixels, true));
    painter.drawText(QRectF(bottom.x() - 40, bottom.y() + 2, 80, labelPixels + 4),
                     Qt::AlignHCenter | Qt::AlignTop, label);
}

void DrawSegment(QPainter& painter, const Frame& frame, double x1, double y1, double x2,
                 double y2) {
    painter.drawLine(frame.Map(x1, y1), frame.Map(x2, y2));
}

void DrawDots(QPainter& painter, const Frame& frame, const std::vector<QPointF>& points,
              double radius) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kDots);
    for (const QPointF& p : points) {
        painter.drawEllipse(frame.Map(p.x(), p.y()), radius, radius);
    }
    painter.setBrush(Qt::NoBrush);
}

void DrawCentre(QPainter& painter, const Frame& frame, double x, double y, double half) {
    const QPointF c = frame.Map(x, y);
    painter.setPen(QPen(kInk, 1.5));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
    painter.setBrush(Qt::NoBrush);
}

double Scatter::Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
}

} // namespace brekka::pictures
