// brekka-calc graph: what the graphics tab does for one choice, without a window.
#include "app/calc_graph.h"

#include <CLI/CLI.hpp>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "data/GraphReader.h"
#include "graphs/geometry/GraphPlan.h"

#include "app/graph_image_module.h"

namespace brekka {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitWriteFailed = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitNoData = 3;

int BadGraphArguments(const std::string& message) {
    std::cerr << "brekka-calc graph: " << message << "\n";
    PrintGraphUsage(std::cerr);
    return kExitBadInput;
}

bool EndsWith(const std::string& text, const std::string& end) {
    if (text.size() < end.size()) {
        return false;
    }
    for (size_t i = 0; i < end.size(); ++i) {
        const char c = text[text.size() - end.size() + i];
        if (std::tolower(static_cast<unsigned char>(c)) != end[i]) {
            return false;
        }
    }
    return true;
}

// The JSON writer refuses text that is not valid UTF-8; such titles are Latin-1.
bool IsUtf8(const std::string& text) {
    try {
        (void)nlohmann::ordered_json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

std::string Latin1ToUtf8(const std::string& text) {
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string JsonText(const std::string& text) {
    return IsUtf8(text) ? text : Latin1ToUtf8(text);
}

nlohmann::ordered_json Pair(const GraphPoint& p) {
    return nlohmann::ordered_json::array({p.x, p.y});
}

nlohmann::ordered_json PointList(const GraphPoint* first, int count) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (int i = 0; i < count; ++i) {
        list.push_back(Pair(first[i]));
    }
    return list;
}

nlohmann::ordered_json GeometryJson(const GraphPlan& plan) {
    const GraphState& s = plan.state;
    const GraphData& d = plan.data;
    nlohmann::ordered_json j;
    j["GraphKind"] = s.GraphKind;
    j["PlotMode"] = s.PlotMode;
    j["ShownType"] = s.ShownType;
    j["ShownMethod"] = s.ShownMethod;
    j["XFactor"] = s.XFactor;
    j["YFactor"] = s.YFactor;
    j["XMin"] = s.XMin;
    j["XMax"] = s.XMax;
    j["YMin"] = s.YMin;
    j["YMax"] = s.YMax;
    j["XLow"] = s.XLow;
    j["XHigh"] = s.XHigh;
    j["XIntervals"] = s.XIntervals;
    j["XDecimals"] = s.XDecimals;
    j["YLow"] = s.YLow;
    j["YHigh"] = s.YHigh;
    j["YIntervals"] = s.YIntervals;
    j["YDecimals"] = s.YDecimals;
    j["XLabel"] = s.XLabel;
    j["YLabel"] = s.YLabel;
    j["Title1"] = JsonText(d.Title1);
    j["Title2"] = JsonText(d.Title2);
    j["ConfPercent"] = s.ConfPercent;
    j["NrOfData"] = d.NrOfData;
    nlohmann::ordered_json points = nlohmann::ordered_json::array();
    for (int i = 0; i < d.NrOfData; ++i) {
        points.push_back(nlohmann::ordered_json::array({d.GraphX[i], d.GraphY[i]}));
    }
    j["Points"] = points;
    const bool dataPlot = s.PlotMode > 18;
    const bool broken = s.ShownType > 1;
    if (dataPlot) {
        j["Line"] = nullptr;
    } else if (!broken) {
        j["Line"] = nlohmann::ordered_json::array({Pair(s.LineStart), Pair(s.LineBreak)});
    } else if (s.ShownType <= 4) {
        j["Line"] =
            nlohmann::ordered_json::array({Pair(s.LineStart), Pair(s.LineBreak), Pair(s.LineEnd)});
    } else {
        j["Line"] = nlohmann::ordered_json::array(
            {Pair(s.LineStart), Pair(s.LineBreak), Pair(s.LineEnd), Pair(s.LineEnd2)});
    }
    if (s.PlotMode >= 18 || !BeltDrawable(s)) {
        j["Belts"] = nullptr;
    } else if (s.ShownType <= 4) {
        j["Belts"] = nlohmann::ordered_json::array(
            {PointList(s.UpperBelt.data(), 6), PointList(s.LowerBelt.data(), 6)});
    } else {
        j["Belts"] = nlohmann::ordered_json::array(
            {PointList(s.UpperBelt.data(), 3), PointList(s.LowerBelt.data(), 3),
             PointList(s.UpperBelt.data() + 3, 3), PointList(s.LowerBelt.data() + 3, 3)});
    }
    if (broken && s.ShownType <= 4) {
        j["Block"] = {{"BlockLeft", s.BlockLeft},
                      {"BlockRight", s.BlockRight},
                      {"BlockLow", s.BlockLow},
                      {"BlockHigh", s.BlockHigh}};
    } else {
        j["Block"] = nullptr;
    }
    j["BPScaled"] = broken ? nlohmann::ordered_json(s.BPScaled) : nlohmann::ordered_json(nullptr);
    nlohmann::ordered_json xTicks = nlohmann::ordered_json::array();
    for (const Tick& t : plan.XTicks) {
        xTicks.push_back(nlohmann::ordered_json::array({t.pixel, t.label}));
    }
    j["XTicks"] = xTicks;
    nlohmann::ordered_json yTicks = nlohmann::ordered_json::array();
    for (const Tick& t : plan.YTicks) {
        yTicks.push_back(nlohmann::ordered_json::array({t.pixel, t.label}));
    }
    j["YTicks"] = yTicks;
    nlohmann::ordered_json captions = nlohmann::ordered_json::array();
    for (const PlanItem& item : plan.Items) {
        if (item.kind == PlanItem::Kind::Text) {
            captions.push_back(nlohmann::ordered_json::array({item.text, item.x, item.y}));
        }
    }
    j["Captions"] = captions;
    return j;
}

int KindNumber(const std::string& kind, bool twoVariables) {
    if (!twoVariables) {
        return kind == "regression" ? 0 : kind == "calc-obs" ? 3 : -1;
    }
    if (kind == "regression") {
        return 1;
    }
    if (kind == "residual") {
        return 2;
    }
    if (kind == "calc-obs") {
        return 3;
    }
    if (kind == "y-z") {
        return 4;
    }
    return kind == "x-z" ? 5 : -1;
}

// The picture writer lives in a module beside brekka-calc (in the build) or in
// the library folder of the installation, so that a calculation never loads Qt.
std::vector<std::filesystem::path> ImageModuleCandidates() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    std::vector<std::filesystem::path> places;
    if (!error) {
        const std::filesystem::path folder = program.parent_path();
        places.push_back(folder / BREKKA_GRAPH_IMAGE_MODULE);
        places.push_back(
            (folder / BREKKA_MODULE_DIR_FROM_BIN / BREKKA_GRAPH_IMAGE_MODULE).lexically_normal());
    }
    return places;
}

int WriteImage(const GraphPlan& plan, const std::string& image, int argc, char** argv) {
    std::string failure;
    for (const std::filesystem::path& place : ImageModuleCandidates()) {
        std::error_code error;
        if (!std::filesystem::exists(place, error)) {
            continue;
        }
        void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            failure = dlerror();
            continue;
        }
        auto write =
            reinterpret_cast<BrekkaWriteGraphImageFn>(dlsym(module, BREKKA_GRAPH_IMAGE_ENTRY));
        if (!write) {
            failure = place.string() + " is not Brekka's picture writer";
            continue;
        }
        // The module stays loaded: Qt's own exit handlers run from it.
        return write(&plan, image.c_str(), EndsWith(image, ".bmp"), argc, argv);
    }
    std::cerr << "Pictures cannot be drawn: the picture writer " BREKKA_GRAPH_IMAGE_MODULE
                 " could not be loaded"
              << (failure.empty() ? std::string(" (it is not installed)") : " (" + failure + ")")
              << ". --geometry works without it.\n";
    return kExitWriteFailed;
}

} // namespace

void PrintGraphUsage(std::ostream& out) {
    out << "Usage: brekka-calc graph [--kind KIND] [--bw] [--no-belt] [--no-block] REPORT.out "
           "IMAGE\n"
           "       brekka-calc graph --geometry [--kind KIND] [--no-belt] [--no-block] "
           "REPORT.out\n"
           "\n"
           "Draws the graph of a Brekka report as the graphics tab shows it, into IMAGE\n"
           "(a 623 x 465 picture: a 24-bit bitmap when IMAGE ends in .bmp, a PNG when it\n"
           "ends in .png), or prints its geometry as one JSON object.\n"
           "\n"
           "  --kind KIND  regression (default), residual, calc-obs, y-z or x-z; a\n"
           "               one-variable report has regression and calc-obs\n"
           "  --bw         black and white instead of colour\n"
           "  --no-belt    without the confidence belt\n"
           "  --no-block   without the confidence block of the breakpoint\n"
           "  --geometry   print the geometry as JSON instead of drawing\n"
           "\n"
           "Exit status: 0 done, 1 the picture could not be written, 2 bad arguments,\n"
           "a kind the report does not have or a report that cannot be read, 3 no data\n"
           "or no spread of the data to draw.\n";
}

CLI::App* AddGraphCommand(CLI::App& app, GraphCommandOptions& o) {
    CLI::App* graph = app.add_subcommand("graph", "draw the graph of a report");
    graph->set_help_flag();
    graph->allow_extras();
    graph->add_option("--kind", o.kind)->allow_extra_args(false);
    graph->add_flag("--bw", o.blackWhite);
    graph->add_flag("--no-belt", o.noBelt);
    graph->add_flag("--no-block", o.noBlock);
    graph->add_flag("--geometry", o.geometry);
    graph->add_flag("-h,--help", o.help);
    graph->add_option("files", o.files);
    return graph;
}

int RunGraphCommand(const GraphCommandOptions& options, int argc, char** argv,
                    const std::vector<std::string>& extras) {
    if (options.help) {
        PrintGraphUsage(std::cout);
        return kExitOk;
    }
    std::vector<std::string> files = options.files;
    for (const std::string& extra : extras) {
        if (!extra.empty() && extra[0] == '-' && extra != "-") {
            return BadGraphArguments("unknown option \"" + extra + "\"");
        }
        files.push_back(extra);
    }
    const std::string& kind = options.kind;
    if (kind != "regression" && kind != "residual" && kind != "calc-obs" && kind != "y-z" &&
        kind != "x-z") {
        return BadGraphArguments("the kind must be regression, residual, calc-obs, y-z or x-z, "
                                 "not \"" +
                                 kind + "\"");
    }
    const size_t wanted = options.geometry ? 1 : 2;
    if (files.size() < wanted) {
        return BadGraphArguments(
            options.geometry
                ? "no report given"
                : (files.empty() ? "no report and no picture given" : "no picture given"));
    }
    if (files.size() > wanted) {
        return BadGraphArguments(options.geometry ? "--geometry prints and takes no picture"
                                                  : "only one report and one picture can be given");
    }
    if (!options.geometry && !EndsWith(files[1], ".bmp") && !EndsWith(files[1], ".png")) {
        return BadGraphArguments("the picture's name must end in .bmp or .png, not \"" + files[1] +
                                 "\"");
    }

    GraphData data;
    GraphState state;
    try {
        ReadOutputForGraph(files[0], data, state);
    } catch (const ReportReadError& error) {
        std::cerr << error.what() << "\n";
        return kExitBadInput;
    }
    const int graphKind = KindNumber(kind, data.IsTwoVariable());
    if (graphKind < 0) {
        std::cerr << "The graph kind \"" << kind
                  << "\" needs a report of two independent variables; this report has one: "
                     "use regression or calc-obs.\n";
        return kExitBadInput;
    }
    if (graphKind == 3 && !data.IsTwoVariable() && state.FuncType < 2) {
        std::cerr << "A result without breakpoint has no calculated-observed graph.\n";
        return kExitBadInput;
    }
    GraphChoice choice;
    choice.GraphKind = graphKind;
    choice.BeltOn = !options.noBelt;
    choice.BlockOn = !options.noBlock;
    choice.ColourMode = !options.blackWhite;
    GraphPlanResult result = PlanGraph(state, data, choice);
    if (!result.plan) {
        std::cerr << result.message << "\n";
        return result.absence ? kExitNoData : kExitBadInput;
    }
    if (options.geometry) {
        std::cout << GeometryJson(*result.plan).dump() << "\n";
        return kExitOk;
    }
    return WriteImage(*result.plan, files[1], argc, argv);
}

} // namespace brekka
