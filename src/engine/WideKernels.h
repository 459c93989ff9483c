#pragma once
// The passes of the candidate tables for processors with 512-bit vector units:
// eight candidates side by side in one register, every sum kept in a register
// for a whole pass over the data. Each lane performs exactly the IEEE operations
// of the plain loops, in data order; a datum on the other side of a lane's
// candidate leaves that lane's sums untouched (a masked add), as the plain loop
// does by not adding it.
#include <cstddef>

namespace brekka::wide {

// Whether this processor has them (and the build can use them).
bool Available();

// The twelve side sums (SideSums order, side 1 then side 2, each as 8 lanes) of
// the 8 candidates `values`, over all `n` data.
void SumTile(const double* y, const double* x, size_t n, const double* values, double* sums);

// The residual sums of `lines` lines of one side of the 8 candidates `values`:
// parameters and sums as [line][lane].
void ResidualTile(const double* y, const double* x, size_t n, const double* values, int side,
                  int lines, const double* xc, const double* yc, const double* slope, double* sums);

} // namespace brekka::wide
