#include "graphs/geometry/GraphPlan.h"

#include <cmath>

#include "graphs/geometry/GraphGeometry.h"
#include "graphs/geometry/PlotPreparation.h"
#include "text/NumberFormat.h"

namespace brekka {

namespace {

// Larger values than this are not data this program can draw: the axis ladder
// would not hold them.
constexpr double kLargestValue = 1e7;

int ClampPixel(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded > -1e6)) {
        return -1000000;
    }
    return rounded > 1e6 ? 1000000 : static_cast<int>(rounded);
}

class PlanBuilder {
public:
    PlanBuilder(GraphPlan& plan, bool colour) : plan_(plan), colour_(colour) {}

    // The colour, or black in a black-and-white graph.
    Ink Or(Ink ink) const { return colour_ ? ink : Ink::Black; }
    Ink Background() const { return colour_ ? Ink::DarkBlue : Ink::White; }

    void Circles(Ink pen, Ink brush, const GraphData& d) {
        PlanItem item;
        item.kind = PlanItem::Kind::Circles;
        item.pen = {pen, 1, false};
        item.brush = brush;
        for (int i = 0; i < d.NrOfData; ++i) {
            item.points.push_back({d.GraphX[i], d.GraphY[i]});
        }
        plan_.Items.push_back(std::move(item));
    }
    void Polyline(PlanPen pen, std::vector<GraphPoint> points, bool clampLast = false) {
        PlanItem item;
        item.kind = PlanItem::Kind::Polyline;
        item.pen = pen;
        item.points = std::move(points);
        item.clampLastToAxis = clampLast;
        plan_.Items.push_back(std::move(item));
    }
    void Text(std::string text, int x, int y, Ink font, Ink background) {
        PlanItem item;
        item.kind = PlanItem::Kind::Text;
        item.text = std::move(text);
        item.x = x;
        item.y = y;
        item.font = font;
        item.brush = background;
        plan_.Items.push_back(std::move(item));
    }

private:
    GraphPlan& plan_;
    bool colour_;
};

std::vector<GraphPoint> Points(const GraphPoint* first, int count) {
    return std::vector<GraphPoint>(first, first + count);
}

void PlanSimpleGraph(GraphPlan& plan) {
    GraphState& s = plan.state;
    const GraphChoice& c = plan.choice;
    PlanBuilder b(plan, c.ColourMode);
    const Ink plot = b.Background();
    b.Circles(b.Or(Ink::Aqua), plot, plan.data);
    if (s.PlotMode < 18 && c.BeltOn) {
        const PlanPen dashed{b.Or(Ink::Yellow), 1, true};
        b.Polyline(dashed, Points(s.UpperBelt.data(), 6));
        b.Polyline(dashed, Points(s.LowerBelt.data(), 6));
        b.Text(ConfidenceText(s) + "% confidence belt is shown", 400, 50, b.Or(Ink::Yellow), plot);
    }
    const int n = plan.data.NrOfData;
    const int width = n > 2000 ? 3 : (n > 1000 ? 2 : 1);
    if (s.PlotMode < 18) {
        b.Polyline({b.Or(Ink::White), width, false}, {s.LineStart, s.LineBreak}, true);
        b.Text(s.ShownType == 0 ? "Type 0, no relation detected" : "Type 1, no breakpoint found",
               400, 35, b.Or(Ink::Aqua), plot);
    }
    if (s.PlotMode == 18) {
        b.Polyline({b.Or(Ink::White), width, false}, {s.LineStart, s.LineBreak});
        b.Text("Yobs versus Ycalc", 440, 35, Ink::Aqua, plot);
        b.Text("The line Yobs=Ycalc is shown", 420, 50, b.Or(Ink::White), plot);
        const double coefficient = s.GraphKind < 2 ? s.ExplCoeff : s.ExplCoeffAll;
        b.Text("Expl. coeff " + FormatPattern("%8.3f", coefficient), 440, 65, Ink::MoneyGreen,
               plot);
    }
    if (s.PlotMode == 21 || s.PlotMode == 22) {
        // On its dark blue ground in both modes, so it is written in white.
        b.Text("Corr. Coeff. sq.", 440, 30, Ink::White, Ink::DarkBlue);
        b.Text(RealField(s.CorrCoeffSqXZ, 6, 3), 460, 44, Ink::White, Ink::DarkBlue);
    }
}

void PlanBrokenLineGraph(GraphPlan& plan) {
    GraphState& s = plan.state;
    const GraphChoice& c = plan.choice;
    PlanBuilder b(plan, c.ColourMode);
    const Ink plot = b.Background();
    b.Circles(b.Or(Ink::White), plot, plan.data);
    const int n = plan.data.NrOfData;
    const int width = n > 1000 ? 3 : (n > 150 ? 2 : 1);
    const std::string percent = ConfidenceText(s);
    const std::string type = std::to_string(s.ShownType);
    if (s.ShownType <= 4) {
        if (c.BeltOn) {
            b.Text(percent + "% confidence belt is shown", 425, 35, b.Or(Ink::Yellow), plot);
            const PlanPen dashed{b.Or(Ink::Yellow), width, true};
            b.Polyline(dashed, Points(s.UpperBelt.data(), 6));
            b.Polyline(dashed, Points(s.LowerBelt.data(), 6));
        }
        b.Polyline({b.Or(Ink::Aqua), width, false}, {s.LineStart, s.LineBreak, s.LineEnd});
        b.Text("Relation of Type " + type, 450, 22, b.Or(Ink::Aqua), plot);
        if (c.BlockOn) {
            const PlanPen pen{b.Or(Ink::Magenta), width, false};
            const GraphPoint lowLeft{s.BlockLeft, s.BlockLow}, lowRight{s.BlockRight, s.BlockLow};
            const GraphPoint highLeft{s.BlockLeft, s.BlockHigh};
            const GraphPoint highRight{s.BlockRight, s.BlockHigh};
            b.Polyline(pen, {lowLeft, lowRight});
            if (s.BlockRight < s.XMax) {
                b.Polyline(pen, {lowRight, highRight});
            }
            b.Polyline(pen, {highRight, highLeft});
            if (s.BlockLeft > s.XMin) {
                b.Polyline(pen, {highLeft, lowLeft});
            }
            b.Text(percent + "% confidence block", 450, 50, b.Or(Ink::Magenta), plot);
            b.Text("of break-point is shown", 450, 65, b.Or(Ink::Magenta), plot);
        }
        return;
    }
    b.Text("Relation of Type " + type, 465, 35, b.Or(Ink::Aqua), plot);
    const PlanPen pen{b.Or(Ink::Aqua), width, false};
    b.Polyline(pen, {s.LineStart, s.LineBreak});
    if (s.ShownType == 5) {
        b.Polyline(pen, {s.LineBreak, s.LineEnd});
    }
    b.Polyline(pen, {s.LineEnd, s.LineEnd2});
    if (c.BeltOn) {
        b.Text(percent + "% confidence belts are shown", 400, 50, b.Or(Ink::Yellow), plot);
        const PlanPen dashed{b.Or(Ink::Yellow), 1, true};
        b.Polyline(dashed, Points(s.UpperBelt.data(), 3));
        b.Polyline(dashed, Points(s.LowerBelt.data(), 3));
        b.Polyline(dashed, Points(s.UpperBelt.data() + 3, 3));
        b.Polyline(dashed, Points(s.LowerBelt.data() + 3, 3));
    }
}

bool Drawable(double v) {
    return std::isfinite(v) && std::abs(v) < 1e15;
}

bool AllDrawable(const GraphPlan& plan) {
    const GraphState& s = plan.state;
    for (double v : {s.XMin, s.XMax, s.YMin, s.YMax, s.BlockLeft, s.BlockRight, s.BlockLow,
                     s.BlockHigh, s.BPScaled}) {
        if (!Drawable(v)) {
            return false;
        }
    }
    for (const PlanItem& item : plan.Items) {
        for (const GraphPoint& p : item.points) {
            if (!Drawable(p.x) || !Drawable(p.y)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool BeltDrawable(const GraphState& s) {
    for (size_t i = 0; i < s.UpperBelt.size(); ++i) {
        for (const GraphPoint& p : {s.UpperBelt[i], s.LowerBelt[i]}) {
            if (!Drawable(p.x) || !Drawable(p.y)) {
                return false;
            }
        }
    }
    return true;
}

std::string ConfidenceText(const GraphState& s) {
    return s.ConfFactor < 1.8 ? "90" : (s.ConfFactor < 2.2 ? "95" : "98");
}

int PixelX(const GraphState& s, double x) {
    const double span = s.XHigh - s.XLow;
    const double offset = x - s.XLow;
    return 70 + ClampPixel(span != 0 ? offset * s.XAxisPixels / span : offset);
}

int PixelY(const GraphState& s, double y) {
    const double span = s.YHigh - s.YLow;
    const double offset = y - s.YLow;
    return 400 - ClampPixel(span != 0 ? offset * s.YAxisPixels / span : offset);
}

std::vector<Tick> VerticalTicks(const GraphState& s) {
    std::vector<Tick> ticks;
    for (int i = 0; i <= s.YIntervals; ++i) {
        const double value = s.YHigh - i * static_cast<double>(s.YHigh - s.YLow) / s.YIntervals;
        ticks.push_back({ClampPixel(static_cast<double>(i) / s.YIntervals * s.YAxisPixels + 80),
                         RealField(value, s.YDecimals + 2, s.YDecimals)});
    }
    return ticks;
}

std::vector<Tick> HorizontalTicks(const GraphState& s) {
    std::vector<Tick> ticks;
    for (int a = 0; a <= s.XIntervals; ++a) {
        const double value = s.XLow + a * static_cast<double>(s.XHigh - s.XLow) / s.XIntervals;
        ticks.push_back({ClampPixel(static_cast<double>(a) / s.XIntervals * s.XAxisPixels + 70),
                         RealField(value, s.XDecimals + 2, s.XDecimals)});
    }
    return ticks;
}

GraphPlanResult PlanGraph(const GraphState& state, const GraphData& data,
                          const GraphChoice& choice) {
    GraphPlanResult result;
    GraphPlan plan;
    plan.state = state;
    plan.data = data;
    plan.choice = choice;
    GraphState& s = plan.state;
    GraphData& d = plan.data;
    s.GraphKind = choice.GraphKind;
    if (d.IsTwoVariable()) {
        SelectRelation(s, choice.GraphKind);
    }
    PrepareGraphData(s, d);
    ScaleAxes(s, d);
    MakeAxisLabels(s, d);

    if (d.NrOfData == 0 || s.XMax == s.XMin || s.YMax == s.YMin) {
        result.absence = true;
        result.message = s.ShownType > 1
                             ? "Graph could not be made due to absence of data variation"
                             : "Graph could not be made due to absence of data";
        return result;
    }
    for (double v : {s.XMin, s.XMax, s.YMin, s.YMax}) {
        if (!(std::abs(v) < kLargestValue)) {
            result.message = "The values of this report are too large to be drawn.";
            return result;
        }
    }
    if (s.ShownType > 1) {
        plan.PlotTop = 22;
        if (s.ShownType <= 4) {
            LineBeltAndBlock(s);
        } else {
            LinesDisjoint(s);
        }
        PlanBrokenLineGraph(plan);
    } else {
        LineAndBeltNoBreak(s, d);
        PlanSimpleGraph(plan);
    }
    if (!AllDrawable(plan)) {
        // Without its belt the graph may still be drawn.
        if (choice.BeltOn && !BeltDrawable(s)) {
            GraphChoice withoutBelt = choice;
            withoutBelt.BeltOn = false;
            return PlanGraph(state, data, withoutBelt);
        }
        result.message = "The values of this report are too large to be drawn.";
        return result;
    }
    plan.CaptionLine = std::string("Program Brekka at ") + kProgramAddress;
    plan.XTicks = HorizontalTicks(s);
    plan.YTicks = VerticalTicks(s);
    result.plan = std::move(plan);
    return result;
}

} // namespace brekka
