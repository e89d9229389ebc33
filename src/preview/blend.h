#pragma once

#include "preview/color32.h"

// Row blending of 32-bit pixels, the inner loop of drawing one bitmap over another.
//
// BlendLine: for each pixel, with A the source alpha: A = 0 keeps the target, A = 255 copies
// the source, otherwise every channel (alpha included) becomes
//     t = (t * 256 + (s - t) * A + 128) >> 8.
// BlendLineEx: the same with the source alpha first scaled by the master alpha M:
//     w = M * (A + 1); w <= 255 keeps the target; otherwise blend with A' = w >> 8
// (A' = 255 blends too; it does not copy). M above 255 counts as 255.
//
// Both exist as plain integer code and, on x86-64, as SSE2 code with four 16-bit lanes per
// pixel; the two give identical results. The routines used by BlendLine and BlendLineEx are
// chosen once, when the program starts, from what the processor offers.

void BlendLine(const TColor32* source, TColor32* target, int count);
void BlendLineEx(const TColor32* source, TColor32* target, int count, TColor32 masterAlpha);

void BlendLinePlain(const TColor32* source, TColor32* target, int count);
void BlendLineExPlain(const TColor32* source, TColor32* target, int count, TColor32 masterAlpha);

// The vector routines; null where the processor or the build has none.
using TBlendLineProc = void (*)(const TColor32* source, TColor32* target, int count);
using TBlendLineExProc = void (*)(const TColor32* source, TColor32* target, int count,
                                  TColor32 masterAlpha);
TBlendLineProc BlendLineVector();
TBlendLineExProc BlendLineExVector();

// Name of the routines in use ("SSE2" or "plain").
const char* BlendRoutinesName();
