#pragma once
// A graph as a list of things to draw, worked out without any drawing library:
// the graph chain after the report has been read (choice of relation, arrays,
// axes, labels, the function, belts and block), the tick marks and every text and
// line inside the plot area, with their colours, in drawing order. The drawing
// only renders this list, so what is drawn and what --geometry reports are one.
#include <optional>
#include <string>
#include <vector>

#include "data/GraphState.h"

namespace brekka {

// Where the caption line of every graph points to.
inline constexpr const char* kProgramAddress = "README.md#brekka";

// What the user chose: the graph kind (0 the graph of a one-variable report, 1 to
// 5 the five choices for a two-variable report), belt and block, colour or black
// and white.
struct GraphChoice {
    int GraphKind = 0;
    bool BeltOn = true;
    bool BlockOn = true;
    bool ColourMode = true;
};

enum class Ink { Black, White, Silver, Yellow, Aqua, Magenta, DarkBlue, MoneyGreen };

struct PlanPen {
    Ink ink = Ink::White;
    int width = 1;
    bool dashed = false;
};

struct PlanItem {
    enum class Kind { Circles, Polyline, Text };
    Kind kind = Kind::Polyline;
    PlanPen pen;
    // Circles: their fill. Text: the opaque background behind it.
    Ink brush = Ink::DarkBlue;
    // Circles and polylines, in data units.
    std::vector<GraphPoint> points;
    // A polyline whose last point is drawn no lower than the horizontal axis.
    bool clampLastToAxis = false;
    // Text: its top left corner in pixels and its colour.
    std::string text;
    int x = 0;
    int y = 0;
    Ink font = Ink::White;
};

struct Tick {
    int pixel = 0;
    std::string label;
};

struct GraphPlan {
    GraphState state;
    GraphData data;
    GraphChoice choice;
    // Top of the plot area: 22 for the graphs of a function with breakpoint.
    int PlotTop = 21;
    std::string CaptionLine;
    std::vector<Tick> XTicks;
    std::vector<Tick> YTicks;
    // After the frame, in drawing order.
    std::vector<PlanItem> Items;
};

// The outcome of planning: a plan, or the message why there is nothing to draw.
struct GraphPlanResult {
    std::optional<GraphPlan> plan;
    std::string message;
    // True for the absence of data or of its spread; false for values that cannot
    // be drawn at all.
    bool absence = false;
};

// The graph chain from freshly read values (`state` and `data` as the reader left
// them) for `choice`.
GraphPlanResult PlanGraph(const GraphState& state, const GraphData& data,
                          const GraphChoice& choice);

// Pixel of a value on each axis.
int PixelX(const GraphState& state, double x);
int PixelY(const GraphState& state, double y);

std::vector<Tick> HorizontalTicks(const GraphState& state);
std::vector<Tick> VerticalTicks(const GraphState& state);

// Whether every point of both belts can be drawn. A report edited by hand can hold
// a standard deviation so large that its belt lies beyond any picture.
bool BeltDrawable(const GraphState& state);

// "90", "95" or "98" by the confidence factor.
std::string ConfidenceText(const GraphState& state);

} // namespace brekka
