#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "preview/supersample.h"

TEST(ReduceCoverage, VectorAndPlainAgreeOnRandomSamples)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<TColor32> any;
    for (int level = 1; level <= 4; ++level) {
        for (int width : {1, 3, 4, 5, 8, 13}) {
            const int height = 3;
            const int n = 1 << level;
            // Extra columns and rows that must not count.
            const int stride = width * n + 5;
            std::vector<TColor32> source(static_cast<std::size_t>(stride) * (height * n + 2));
            for (TColor32& p : source)
                p = any(rng);
            std::vector<TColor32> plain(width * height), vector(width * height);
            ReduceCoveragePlain(source.data(), stride, plain.data(), width, height, level,
                                0x123456);
            ReduceCoverage(source.data(), stride, vector.data(), width, height, level, 0x123456);
            EXPECT_EQ(plain, vector) << "level " << level << " width " << width;

            // The first pixel against the mean computed here.
            TColor32 sum = 0;
            for (int r = 0; r < n; ++r)
                for (int c = 0; c < n; ++c)
                    sum += source[r * stride + c] & 0xFF;
            EXPECT_EQ(vector[0], (sum / (n * n)) << 24 | 0x123456);
        }
    }
}

TEST(ReduceCoverage, FullAndEmptyBlocks)
{
    // Level 2, two destination pixels: the left block fully covered, the right one with a
    // single sample of 255 among 16.
    const int stride = 8;
    std::vector<TColor32> source(stride * 4, 0xFF000000);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            source[r * stride + c] = 0xFFFFFFFF;
    source[2 * stride + 5] = 0xFF0000FF;
    std::vector<TColor32> target(2);
    ReduceCoverage(source.data(), stride, target.data(), 2, 1, 2, 0x000080);
    EXPECT_EQ(target[0], 0xFF000080u);
    EXPECT_EQ(target[1], 0x0F000080u);  // 255 / 16 rounded down

    // Only the blue byte is coverage: red and green samples count for nothing.
    std::fill(source.begin(), source.end(), 0xFFFFFF00);
    ReduceCoverage(source.data(), stride, target.data(), 2, 1, 2, 0);
    EXPECT_EQ(target[0], 0u);
}
