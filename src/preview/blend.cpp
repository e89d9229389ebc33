#include "preview/blend.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// One channel of the blend; the sum stays within 0..65535 for all inputs, so no clamping.
inline TColor32 BlendChannel(TColor32 s, TColor32 t, TColor32 a)
{
    const int v = static_cast<int>(t) * 256 + (static_cast<int>(s) - static_cast<int>(t)) *
                  static_cast<int>(a) + 128;
    return static_cast<TColor32>(v) >> 8;
}

inline TColor32 BlendPixel(TColor32 s, TColor32 t, TColor32 a)
{
    return BlendChannel(s >> 24, t >> 24, a) << 24 |
           BlendChannel(s >> 16 & 0xFF, t >> 16 & 0xFF, a) << 16 |
           BlendChannel(s >> 8 & 0xFF, t >> 8 & 0xFF, a) << 8 |
           BlendChannel(s & 0xFF, t & 0xFF, a);
}

#if defined(__SSE2__)

// Blends the pixels held in 16-bit lanes (two pixels, four lanes each) with the per-lane
// weights. In 16-bit arithmetic t * 256 + (s - t) * a + 128 wraps, but its true value lies
// in 0..65535, so the wrapped sum is that value and the logical shift gives the exact result.
inline __m128i BlendLanes(__m128i s, __m128i t, __m128i a, __m128i round)
{
    const __m128i v = _mm_add_epi16(_mm_add_epi16(_mm_slli_epi16(t, 8),
                                                  _mm_mullo_epi16(_mm_sub_epi16(s, t), a)),
                                    round);
    return _mm_srli_epi16(v, 8);
}

// Copies the alpha lane of each pixel into its four lanes.
inline __m128i SpreadAlpha(__m128i lanes)
{
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(lanes, _MM_SHUFFLE(3, 3, 3, 3)),
                               _MM_SHUFFLE(3, 3, 3, 3));
}

alignas(16) const std::uint16_t RoundingLanes[8] = {128, 128, 128, 128, 128, 128, 128, 128};

void BlendLineSSE2(const TColor32* source, TColor32* target, int count)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_load_si128(reinterpret_cast<const __m128i*>(RoundingLanes));
    const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i sa = _mm_and_si128(s, alphaMask);
        const __m128i transparent = _mm_cmpeq_epi32(sa, zero);
        if (_mm_movemask_epi8(transparent) == 0xFFFF)
            continue;
        const __m128i opaque = _mm_cmpeq_epi32(sa, alphaMask);
        __m128i* out = reinterpret_cast<__m128i*>(target + i);
        if (_mm_movemask_epi8(opaque) == 0xFFFF) {
            _mm_storeu_si128(out, s);
            continue;
        }
        const __m128i t = _mm_loadu_si128(out);
        const __m128i sLo = _mm_unpacklo_epi8(s, zero);
        const __m128i sHi = _mm_unpackhi_epi8(s, zero);
        const __m128i lo = BlendLanes(sLo, _mm_unpacklo_epi8(t, zero), SpreadAlpha(sLo), round);
        const __m128i hi = BlendLanes(sHi, _mm_unpackhi_epi8(t, zero), SpreadAlpha(sHi), round);
        const __m128i blended = _mm_packus_epi16(lo, hi);
        // Opaque source pixels are copied as they are; alpha 0 blends to the target itself.
        _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(opaque, s),
                                           _mm_andnot_si128(opaque, blended)));
    }
    for (; i < count; ++i) {
        const TColor32 a = source[i] >> 24;
        if (a == 255)
            target[i] = source[i];
        else if (a != 0)
            target[i] = BlendPixel(source[i], target[i], a);
    }
}

void BlendLineExSSE2(const TColor32* source, TColor32* target, int count, TColor32 masterAlpha)
{
    masterAlpha = std::min<TColor32>(masterAlpha, 255);
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_load_si128(reinterpret_cast<const __m128i*>(RoundingLanes));
    const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i master = _mm_set1_epi16(static_cast<short>(masterAlpha));
    const __m128i one = _mm_set1_epi16(1);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        __m128i* out = reinterpret_cast<__m128i*>(target + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), zero)) == 0xFFFF)
            continue;  // w = M * 1 <= 255: every target pixel stays
        const __m128i t = _mm_loadu_si128(out);
        const __m128i sLo = _mm_unpacklo_epi8(s, zero);
        const __m128i sHi = _mm_unpackhi_epi8(s, zero);
        // w = M * (A + 1) is at most 65280; A' = w >> 8 is 0 exactly when w <= 255, and a
        // weight of 0 leaves the target as it is.
        const __m128i aLo = _mm_srli_epi16(
            _mm_mullo_epi16(master, _mm_add_epi16(SpreadAlpha(sLo), one)), 8);
        const __m128i aHi = _mm_srli_epi16(
            _mm_mullo_epi16(master, _mm_add_epi16(SpreadAlpha(sHi), one)), 8);
        const __m128i lo = BlendLanes(sLo, _mm_unpacklo_epi8(t, zero), aLo, round);
        const __m128i hi = BlendLanes(sHi, _mm_unpackhi_epi8(t, zero), aHi, round);
        _mm_storeu_si128(out, _mm_packus_epi16(lo, hi));
    }
    if (i < count)
        BlendLineExPlain(source + i, target + i, count - i, masterAlpha);
}

#endif

struct TBlendRoutines {
    TBlendLineProc line;
    TBlendLineExProc lineEx;
    const char* name;
};

TBlendRoutines ChooseBlendRoutines()
{
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    if (__builtin_cpu_supports("sse2"))
        return {BlendLineSSE2, BlendLineExSSE2, "SSE2"};
#endif
    return {BlendLinePlain, BlendLineExPlain, "plain"};
}

const TBlendRoutines Routines = ChooseBlendRoutines();

}  // namespace

void BlendLinePlain(const TColor32* source, TColor32* target, int count)
{
    for (int i = 0; i < count; ++i) {
        const TColor32 a = source[i] >> 24;
        if (a == 255)
            target[i] = source[i];
        else if (a != 0)
            target[i] = BlendPixel(source[i], target[i], a);
    }
}

void BlendLineExPlain(const TColor32* source, TColor32* target, int count, TColor32 masterAlpha)
{
    masterAlpha = std::min<TColor32>(masterAlpha, 255);
    for (int i = 0; i < count; ++i) {
        const TColor32 w = masterAlpha * ((source[i] >> 24) + 1);
        if (w > 255)
            target[i] = BlendPixel(source[i], target[i], w >> 8);
    }
}

void BlendLine(const TColor32* source, TColor32* target, int count)
{
    Routines.line(source, target, count);
}

void BlendLineEx(const TColor32* source, TColor32* target, int count, TColor32 masterAlpha)
{
    Routines.lineEx(source, target, count, masterAlpha);
}

TBlendLineProc BlendLineVector()
{
#if defined(__SSE2__)
    return BlendLineSSE2;
#else
    return nullptr;
#endif
}

TBlendLineExProc BlendLineExVector()
{
#if defined(__SSE2__)
    return BlendLineExSSE2;
#else
    return nullptr;
#endif
}

const char* BlendRoutinesName() { return Routines.name; }
