#include "preview/supersample.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline TColor32 ReducePixel(const TColor32* block, std::ptrdiff_t stride, int level, TColor32 rgb)
{
    const int n = 1 << level;
    TColor32 sum = 0;
    for (int r = 0; r < n; ++r, block += stride)
        for (int c = 0; c < n; ++c)
            sum += block[c] & 0xFF;
    return (sum >> level >> level) << 24 | rgb;
}

#if defined(__SSE2__)

inline __m128i LoadBlue(const TColor32* p, __m128i mask)
{
    return _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), mask);
}

// Lane i of the result is the sum of the four lanes of a[i].
inline __m128i SumLanes4(__m128i a0, __m128i a1, __m128i a2, __m128i a3)
{
    const __m128i t = _mm_add_epi32(_mm_unpacklo_epi32(a0, a1), _mm_unpackhi_epi32(a0, a1));
    const __m128i u = _mm_add_epi32(_mm_unpacklo_epi32(a2, a3), _mm_unpackhi_epi32(a2, a3));
    return _mm_add_epi32(_mm_unpacklo_epi64(t, u), _mm_unpackhi_epi64(t, u));
}

// Four destination pixels of a row from sums of samples; the mean is sum >> (2 * level).
inline void StoreCoverage(TColor32* target, __m128i sums, __m128i shift, __m128i rgb)
{
    const __m128i alpha = _mm_slli_epi32(_mm_srl_epi32(sums, shift), 24);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_or_si128(alpha, rgb));
}

// Level 1: four destination pixels take eight columns of two rows.
void ReduceRowLevel1(const TColor32* row, std::ptrdiff_t stride, TColor32* target, int count,
                     __m128i mask, __m128i shift, __m128i rgb)
{
    for (int x = 0; x < count; x += 4, row += 8) {
        const __m128i left = _mm_add_epi32(LoadBlue(row, mask), LoadBlue(row + stride, mask));
        const __m128i right =
            _mm_add_epi32(LoadBlue(row + 4, mask), LoadBlue(row + stride + 4, mask));
        const __m128 l = _mm_castsi128_ps(left);
        const __m128 r = _mm_castsi128_ps(right);
        const __m128i even = _mm_castps_si128(_mm_shuffle_ps(l, r, _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(l, r, _MM_SHUFFLE(3, 1, 3, 1)));
        StoreCoverage(target + x, _mm_add_epi32(even, odd), shift, rgb);
    }
}

// Levels 2 to 4: each destination pixel takes a whole number of four-column groups.
void ReduceRowWide(const TColor32* row, std::ptrdiff_t stride, TColor32* target, int count,
                   int level, __m128i mask, __m128i shift, __m128i rgb)
{
    const int n = 1 << level;
    for (int x = 0; x < count; x += 4) {
        __m128i acc[4];
        for (int k = 0; k < 4; ++k) {
            const TColor32* block = row + static_cast<std::ptrdiff_t>(x + k) * n;
            __m128i sum = _mm_setzero_si128();
            for (int r = 0; r < n; ++r, block += stride)
                for (int c = 0; c < n; c += 4)
                    sum = _mm_add_epi32(sum, LoadBlue(block + c, mask));
            acc[k] = sum;
        }
        StoreCoverage(target + x, SumLanes4(acc[0], acc[1], acc[2], acc[3]), shift, rgb);
    }
}

#endif

}  // namespace

void ReduceCoveragePlain(const TColor32* source, int sourceStride, TColor32* target, int width,
                         int height, int level, TColor32 rgb)
{
    const std::ptrdiff_t stride = sourceStride;
    for (int y = 0; y < height; ++y) {
        const TColor32* row = source + (static_cast<std::ptrdiff_t>(y) << level) * stride;
        TColor32* out = target + static_cast<std::ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = ReducePixel(row + (static_cast<std::ptrdiff_t>(x) << level), stride, level, rgb);
    }
}

void ReduceCoverage(const TColor32* source, int sourceStride, TColor32* target, int width,
                    int height, int level, TColor32 rgb)
{
#if defined(__SSE2__)
    const std::ptrdiff_t stride = sourceStride;
    const __m128i mask = _mm_set1_epi32(0xFF);
    const __m128i shift = _mm_cvtsi32_si128(2 * level);
    const __m128i rgbLanes = _mm_set1_epi32(static_cast<int>(rgb));
    const int vectorWidth = width & ~3;
    for (int y = 0; y < height; ++y) {
        const TColor32* row = source + (static_cast<std::ptrdiff_t>(y) << level) * stride;
        TColor32* out = target + static_cast<std::ptrdiff_t>(y) * width;
        if (level == 1)
            ReduceRowLevel1(row, stride, out, vectorWidth, mask, shift, rgbLanes);
        else
            ReduceRowWide(row, stride, out, vectorWidth, level, mask, shift, rgbLanes);
        for (int x = vectorWidth; x < width; ++x)
            out[x] = ReducePixel(row + (static_cast<std::ptrdiff_t>(x) << level), stride, level, rgb);
    }
#else
    ReduceCoveragePlain(source, sourceStride, target, width, height, level, rgb);
#endif
}
