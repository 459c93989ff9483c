#pragma once
// The graph subcommand of brekka-calc: a report's graph drawn into a bitmap or
// PNG, or its geometry printed as JSON, without a window.
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace brekka {

struct GraphCommandOptions {
    std::string kind = "regression";
    bool blackWhite = false;
    bool noBelt = false;
    bool noBlock = false;
    bool geometry = false;
    bool help = false;
    // The report and the picture.
    std::vector<std::string> files;
};

// Adds the subcommand "graph" to `app`, filling `options`.
CLI::App* AddGraphCommand(CLI::App& app, GraphCommandOptions& options);

// Runs it; `extras` are the arguments the parser did not know. The result is the
// exit status.
int RunGraphCommand(const GraphCommandOptions& options, int argc, char** argv,
                    const std::vector<std::string>& extras);

void PrintGraphUsage(std::ostream& out);

} // namespace brekka
