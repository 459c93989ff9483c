#include "engine/WideKernels.h"

#if defined(__x86_64__) && defined(__GNUC__)
#define BREKKA_WIDE_KERNELS 1
#include <immintrin.h>
#endif

namespace brekka::wide {

#ifdef BREKKA_WIDE_KERNELS

#define BREKKA_WIDE __attribute__((target("avx512f")))

bool Available() {
    return __builtin_cpu_supports("avx512f");
}

BREKKA_WIDE void SumTile(const double* y, const double* x, size_t n, const double* values,
                         double* sums) {
    const __m512d v = _mm512_loadu_pd(values);
    const __m512d one = _mm512_set1_pd(1.0);
    __m512d a[12];
    for (__m512d& each : a) {
        each = _mm512_setzero_pd();
    }
    for (size_t i = 0; i < n; ++i) {
        const __m512d yi = _mm512_set1_pd(y[i]);
        const __m512d xi = _mm512_set1_pd(x[i]);
        const __m512d yy = _mm512_mul_pd(yi, yi);
        const __m512d xx = _mm512_mul_pd(xi, xi);
        const __m512d xy = _mm512_mul_pd(xi, yi);
        const __m512d w[6] = {one, yi, xi, yy, xx, xy};
        const __mmask8 first = _mm512_cmp_pd_mask(xi, v, _CMP_LT_OQ);
        const __mmask8 second = static_cast<__mmask8>(~first);
        for (int s = 0; s < 6; ++s) {
            a[s] = _mm512_mask_add_pd(a[s], first, a[s], w[s]);
            a[6 + s] = _mm512_mask_add_pd(a[6 + s], second, a[6 + s], w[s]);
        }
    }
    for (int s = 0; s < 12; ++s) {
        _mm512_storeu_pd(sums + 8 * s, a[s]);
    }
}

namespace {
// Up to four lines at a time keep parameters and sums in registers.
template <int Lines>
BREKKA_WIDE void ResidualGroup(const double* y, const double* x, size_t n, __m512d v, int side,
                               const double* xc, const double* yc, const double* slope,
                               double* sums) {
    __m512d c[Lines], d[Lines], s[Lines], acc[Lines];
    for (int j = 0; j < Lines; ++j) {
        c[j] = _mm512_loadu_pd(xc + 8 * j);
        d[j] = _mm512_loadu_pd(yc + 8 * j);
        s[j] = _mm512_loadu_pd(slope + 8 * j);
        acc[j] = _mm512_setzero_pd();
    }
    for (size_t i = 0; i < n; ++i) {
        const __m512d yi = _mm512_set1_pd(y[i]);
        const __m512d xi = _mm512_set1_pd(x[i]);
        const __mmask8 first = _mm512_cmp_pd_mask(xi, v, _CMP_LT_OQ);
        const __mmask8 mine = side == 0 ? first : static_cast<__mmask8>(~first);
        for (int j = 0; j < Lines; ++j) {
            // y - ((x - Xc) * slope + Yc), squared and added.
            const __m512d r = _mm512_sub_pd(
                yi, _mm512_add_pd(_mm512_mul_pd(_mm512_sub_pd(xi, c[j]), s[j]), d[j]));
            acc[j] = _mm512_mask_add_pd(acc[j], mine, acc[j], _mm512_mul_pd(r, r));
        }
    }
    for (int j = 0; j < Lines; ++j) {
        _mm512_storeu_pd(sums + 8 * j, acc[j]);
    }
}
} // namespace

BREKKA_WIDE void ResidualTile(const double* y, const double* x, size_t n, const double* values,
                              int side, int lines, const double* xc, const double* yc,
                              const double* slope, double* sums) {
    const __m512d v = _mm512_loadu_pd(values);
    for (int j = 0; j < lines; j += 4) {
        const size_t at = 8 * static_cast<size_t>(j);
        switch (lines - j) {
        case 1:
            ResidualGroup<1>(y, x, n, v, side, xc + at, yc + at, slope + at, sums + at);
            break;
        case 2:
            ResidualGroup<2>(y, x, n, v, side, xc + at, yc + at, slope + at, sums + at);
            break;
        case 3:
            ResidualGroup<3>(y, x, n, v, side, xc + at, yc + at, slope + at, sums + at);
            break;
        default:
            ResidualGroup<4>(y, x, n, v, side, xc + at, yc + at, slope + at, sums + at);
            break;
        }
    }
}

#else

bool Available() {
    return false;
}
void SumTile(const double*, const double*, size_t, const double*, double*) {}
void ResidualTile(const double*, const double*, size_t, const double*, int, int, const double*,
                  const double*, const double*, double*) {}

#endif

} // namespace brekka::wide
