// Damaged reports of every kind, cut or with characters changed, either read with
// a message or drawn with finite coordinates; never a crash or a hang.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "data/GraphReader.h"
#include "graphs/geometry/GraphPlan.h"

namespace {

using namespace brekka;

void ReadAndPlan(const std::string& text, int& read, int& refused) {
    GraphData data;
    GraphState state;
    try {
        ReadOutputTextForGraph(text, "damaged.out", data, state);
    } catch (const ReportReadError& error) {
        EXPECT_FALSE(std::string(error.what()).empty());
        ++refused;
        return;
    }
    ++read;
    for (int kind = 0; kind <= 5; ++kind) {
        GraphPlanResult result = PlanGraph(state, data, GraphChoice{kind, true, true, true});
        if (!result.plan) {
            EXPECT_FALSE(result.message.empty());
            continue;
        }
        for (const PlanItem& item : result.plan->Items) {
            for (const GraphPoint& p : item.points) {
                ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
            }
        }
    }
}

TEST(DamagedReports, CutOrChangedReportsAreReadOrRefused) {
    const auto dir = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
                     "data" / "fixtures";
    std::mt19937 random(99);
    int read = 0, refused = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        const std::string text = content.str();
        for (size_t cut = 0; cut < text.size(); cut += 97) {
            ReadAndPlan(text.substr(0, cut), read, refused);
        }
        const char replacements[] = {'-', '9', 'E', ' ', '\n', 'x', '.', '\0'};
        for (int round = 0; round < 60; ++round) {
            std::string changed = text;
            for (int k = 0; k < 3; ++k) {
                changed[random() % changed.size()] = replacements[random() % 8];
            }
            ReadAndPlan(changed, read, refused);
        }
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
