#pragma once
// The picture writer of brekka-calc graph, kept in a module of its own: loading Qt
// takes longer than a whole calculation, so brekka-calc loads it only when a
// picture is asked for.
#include "graphs/geometry/GraphPlan.h"

// The name the module is installed under, and the entry point it exports.
#define BREKKA_GRAPH_IMAGE_MODULE "brekka-graph-image.so"
#define BREKKA_GRAPH_IMAGE_ENTRY "BrekkaWriteGraphImage"

extern "C" {
// Draws `plan` into the picture `image`, a 24-bit bitmap or else a PNG. Returns 0,
// or 1 after a message on standard error when the picture could not be written.
using BrekkaWriteGraphImageFn = int (*)(const brekka::GraphPlan* plan, const char* image,
                                        bool bitmap, int argc, char** argv);
}
