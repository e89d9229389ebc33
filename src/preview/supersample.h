#pragma once

#include "preview/color32.h"

// Turns a white-on-black rendering made at 2^level times the size into coverage pixels.
// Destination pixel (x, y) gets alpha = the mean, rounded down, of the blue bytes of the
// 2^level x 2^level source pixels from (x << level, y << level), and the colour rgb:
//     target[x + y * width] = (sum >> level >> level) << 24 | rgb.
// The source must hold at least width << level columns (sourceStride pixels apart per row)
// and height << level rows; level is 1 to 4.
//
// ReduceCoverage uses SSE2 where the build has it; ReduceCoveragePlain is the same
// arithmetic one sample at a time. Both give identical results.
void ReduceCoverage(const TColor32* source, int sourceStride, TColor32* target, int width,
                    int height, int level, TColor32 rgb);
void ReduceCoveragePlain(const TColor32* source, int sourceStride, TColor32* target, int width,
                         int height, int level, TColor32 rgb);
