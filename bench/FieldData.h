#pragma once
// Synthetic field data for the benchmarks.
#include <random>

#include "data/DataModule.h"

// Yield rising with the depth of the water table up to a breakpoint, then flat,
// lowered by salinity above a threshold, with field noise.
inline void FillFieldData(brekka::TDMBrekka& data, int rows, int variables, unsigned seed = 12345) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> depth(20.0, 160.0);
    std::uniform_real_distribution<double> salinity(1.0, 16.0);
    std::normal_distribution<double> noise(0.0, 0.25);
    data.Resize(rows);
    data.NrOfVar = variables;
    data.VarOption = variables == 1 ? 0 : 3;
    for (int i = 0; i < rows; ++i) {
        const double x = depth(generator);
        const double z = salinity(generator);
        double y = x < 80 ? 1.5 + 0.05 * (x - 20) : 4.5;
        if (variables == 2 && z > 6) {
            y -= 0.15 * (z - 6);
        }
        data.SerialNr[i] = i + 1;
        data.YData[i] = y + noise(generator);
        data.XData[i] = x;
        data.ZData[i] = z;
    }
}
