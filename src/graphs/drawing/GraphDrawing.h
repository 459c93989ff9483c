#pragma once
// A planned graph drawn onto the 623 x 465 picture of the graphics tab, pixel by
// pixel without smoothing, and the bitmap files of graphs.
#include <QImage>
#include <QString>

#include "graphs/geometry/GraphPlan.h"

class QPainter;

namespace brekka {

inline constexpr int kGraphWidth = 623;
inline constexpr int kGraphHeight = 465;

QColor InkColour(Ink ink);

// The grey border with titles and caption line, the plot area, axes, ticks and
// axis labels.
void DrawFrame(QPainter& painter, const GraphPlan& plan);
// The frame and then the plan's points, lines and texts, in order.
void DrawPlannedItems(QPainter& painter, const GraphPlan& plan);

// The graph of a function without breakpoint, the calculated-observed graph and
// the data plots; and the graph of a function with breakpoint. Both draw the whole
// picture from the plan (PlanGraph decides which one a graph needs).
QImage DrawSimpleGraph(const GraphPlan& plan);
QImage DrawBrokenLineGraph(const GraphPlan& plan);
// The one of the two the plan needs.
QImage DrawGraph(const GraphPlan& plan);

// Writes the picture as an uncompressed 24-bit Windows bitmap; false (with a
// message in `error`) when the file cannot be written. The file is replaced only
// once the new content is complete.
bool SaveGraphBitmap(const QImage& image, const QString& fileName, QString* error);
// The same as PNG.
bool SaveGraphPng(const QImage& image, const QString& fileName, QString* error);
// Reads a picture file for "Open graph"; a null image (with a message in `error`)
// when it cannot be read.
QImage LoadGraphPicture(const QString& fileName, QString* error);

} // namespace brekka
