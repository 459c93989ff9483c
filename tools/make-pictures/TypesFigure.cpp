#include "Figures.h"
#include "Sketch.h"

#include <array>
#include <functional>

namespace brekka::pictures {
namespace {

struct TypePanel {
    int type;
    const char* text;
    double bp;                           // below 0: no breakpoint
    std::function<double(double)> left;  // the function left of BP (or everywhere)
    std::function<double(double)> right; // the function right of BP
};

std::array<TypePanel, 7> Panels() {
    return {{
        {0, "horizontal line: no relation", -1, [](double) { return 0.5; }, nullptr},
        {1, "one sloping line", -1, [](double x) { return 0.15 + 0.65 * x; }, nullptr},
        {2, "two connected sloping lines", 0.55, [](double x) { return 0.12 + 1.05 * x; },
         [](double x) { return 0.7 - 0.75 * (x - 0.55); }},
        {3, "horizontal, then sloping", 0.45, [](double) { return 0.25; },
         [](double x) { return 0.25 + 1.15 * (x - 0.45); }},
        {4, "sloping, then horizontal", 0.55, [](double x) { return 0.12 + 1.25 * x; },
         [](double) { return 0.8375; }},
        {5, "two horizontal lines", 0.5, [](double) { return 0.3; }, [](double) { return 0.72; }},
        {6, "two disconnected lines", 0.5, [](double x) { return 0.15 + 0.8 * x; },
         [](double x) { return 0.85 - 0.6 * (x - 0.5); }},
    }};
}

void DrawPanel(QPainter& painter, const TypePanel& panel, const QRectF& cell) {
    painter.setPen(kInk);
    painter.setFont(TextFont(15, true));
    painter.drawText(QRectF(cell.left(), cell.top() + 6, cell.width(), 20), Qt::AlignHCenter,
                     QString("Type %1").arg(panel.type));
    painter.setFont(TextFont(12));
    painter.drawText(QRectF(cell.left(), cell.top() + 26, cell.width(), 18), Qt::AlignHCenter,
                     panel.text);

    const Frame frame(QRectF(cell.left() + 34, cell.top() + 58, cell.width() - 64, 122));
    Scatter scatter(17u + static_cast<unsigned>(panel.type) * 31u);
    const auto f = [&panel](double x) {
        return (panel.bp < 0 || x < panel.bp) ? panel.left(x) : panel.right(x);
    };
    DrawDots(painter, frame, scatter.Around(f, 0.02, 0.98, 16, 0.07), 2.2);
    if (panel.bp >= 0) {
        DrawVertical(painter, frame, panel.bp, "BP", 12, kGuide);
    }
    DrawAxes(painter, frame, 12);

    painter.setPen(QPen(kLine, 2.6, Qt::SolidLine, Qt::RoundCap));
    if (panel.bp < 0) {
        DrawSegment(painter, frame, 0.02, panel.left(0.02), 0.98, panel.left(0.98));
    } else {
        DrawSegment(painter, frame, 0.02, panel.left(0.02), panel.bp, panel.left(panel.bp));
        DrawSegment(painter, frame, panel.bp, panel.right(panel.bp), 0.98, panel.right(0.98));
    }
}

void DrawLegend(QPainter& painter, const QRectF& cell) {
    const QRectF box = cell.adjusted(14, 30, -10, -30);
    painter.setPen(QPen(kGuide, 1));
    painter.setBrush(QColor(246, 246, 246));
    painter.drawRoundedRect(box, 6, 6);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(kInk);
    painter.setFont(TextFont(12));
    const QStringList lines{"Y  : dependent variable",
                            "X  : independent variable",
                            "BP : breakpoint",
                            "",
                            "Types 2, 3 and 4 are",
                            "calculated with two methods.",
                            "",
                            "Dots: observations"};
    double y = box.top() + 12;
    for (const QString& line : lines) {
        painter.drawText(QRectF(box.left() + 12, y, box.width() - 16, 18), Qt::AlignLeft, line);
        y += 18;
    }
}

} // namespace

QImage DrawTypes() {
    QImage image(820, 440, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double width = 205;
    const double height = 220;
    const auto panels = Panels();
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const QRectF cell((i % 4) * width, (i / 4) * height, width, height);
        DrawPanel(painter, panels[i], cell);
    }
    DrawLegend(painter, QRectF(3 * width, height, width, height));
    painter.setPen(QPen(QColor(215, 215, 215), 1));
    for (int column = 1; column < 4; ++column) {
        painter.drawLine(QPointF(column * width, 8), QPointF(column * width, 432));
    }
    painter.drawLine(QPointF(8, height), QPointF(812, height));
    return image;
}

} // namespace brekka::pictures
