#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "preview/blend.h"

namespace {

// The blend written out channel by channel, as the reference for every routine.
TColor32 Expected(TColor32 s, TColor32 t, int a)
{
    TColor32 result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int sc = static_cast<int>(s >> shift & 0xFF);
        const int tc = static_cast<int>(t >> shift & 0xFF);
        result |= static_cast<TColor32>((tc * 256 + (sc - tc) * a + 128) >> 8) << shift;
    }
    return result;
}

TColor32 ExpectedLine(TColor32 s, TColor32 t)
{
    const int a = static_cast<int>(s >> 24);
    return a == 0 ? t : a == 255 ? s : Expected(s, t, a);
}

TColor32 ExpectedLineEx(TColor32 s, TColor32 t, int m)
{
    const int w = m * (static_cast<int>(s >> 24) + 1);
    return w <= 255 ? t : Expected(s, t, w >> 8);
}

// Random pixels whose alphas favour the special values and come in runs, as text does.
std::vector<TColor32> RandomPixels(std::mt19937& rng, std::size_t n)
{
    std::vector<TColor32> pixels(n);
    std::uniform_int_distribution<TColor32> any;
    std::uniform_int_distribution<int> kind(0, 5);
    int current = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (i % 4 == 0 || kind(rng) == 0)
            current = kind(rng);
        TColor32 p = any(rng);
        if (current == 0)
            p &= 0x00FFFFFF;
        else if (current == 1)
            p |= 0xFF000000;
        pixels[i] = p;
    }
    return pixels;
}

struct TLineCase {
    const char* name;
    TBlendLineProc proc;
};

std::vector<TLineCase> LineRoutines()
{
    std::vector<TLineCase> cases{{"plain", BlendLinePlain}, {"chosen", BlendLine}};
    if (BlendLineVector())
        cases.push_back({"vector", BlendLineVector()});
    return cases;
}

struct TLineExCase {
    const char* name;
    TBlendLineExProc proc;
};

std::vector<TLineExCase> LineExRoutines()
{
    std::vector<TLineExCase> cases{{"plain", BlendLineExPlain}, {"chosen", BlendLineEx}};
    if (BlendLineExVector())
        cases.push_back({"vector", BlendLineExVector()});
    return cases;
}

}  // namespace

TEST(BlendLine, EveryRoutineMatchesTheFormulaOnRandomRows)
{
    std::mt19937 rng(1234);
    for (const TLineCase& routine : LineRoutines()) {
        for (int count : {0, 1, 3, 4, 5, 7, 8, 13, 1920, 4099}) {
            const std::vector<TColor32> source = RandomPixels(rng, count);
            const std::vector<TColor32> original = RandomPixels(rng, count);
            std::vector<TColor32> target = original;
            routine.proc(source.data(), target.data(), count);
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(target[i], ExpectedLine(source[i], original[i]))
                    << routine.name << " count " << count << " pixel " << i << " source "
                    << std::hex << source[i] << " target " << original[i];
        }
    }
}

TEST(BlendLine, DoesNotWriteBeyondTheCount)
{
    for (const TLineCase& routine : LineRoutines()) {
        std::vector<TColor32> source(8, 0xFF123456);
        std::vector<TColor32> target(8, 0x11111111);
        routine.proc(source.data(), target.data(), 5);
        EXPECT_EQ(target[4], 0xFF123456u) << routine.name;
        EXPECT_EQ(target[5], 0x11111111u) << routine.name;
        EXPECT_EQ(target[7], 0x11111111u) << routine.name;
    }
}

TEST(BlendLine, HalfTransparentRedOverBlackGivesHalfRed)
{
    for (const TLineCase& routine : LineRoutines()) {
        const TColor32 source[4] = {0x80FF0000, 0x80FF0000, 0x80FF0000, 0x80FF0000};
        TColor32 target[4] = {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000};
        routine.proc(source, target, 4);
        // red (0 * 256 + 255 * 128 + 128) >> 8 = 128; alpha (255 * 256 - 127 * 128 + 128) >> 8
        EXPECT_EQ(target[0] >> 16 & 0xFF, 128u) << routine.name;
        EXPECT_EQ(target[0], 0xC0800000u) << routine.name;
        EXPECT_EQ(target[3], 0xC0800000u) << routine.name;
    }
}

TEST(BlendLine, OpaqueSourceIsCopiedAndTransparentSourceLeavesTheTarget)
{
    for (const TLineCase& routine : LineRoutines()) {
        const TColor32 source[5] = {0xFF102030, 0x00FFFFFF, 0xFFFFFFFF, 0x00000000, 0xFF000001};
        TColor32 target[5] = {0x01020304, 0x55667788, 0x00000000, 0xDEADBEEF, 0x12345678};
        routine.proc(source, target, 5);
        EXPECT_EQ(target[0], 0xFF102030u) << routine.name;
        EXPECT_EQ(target[1], 0x55667788u) << routine.name;
        EXPECT_EQ(target[2], 0xFFFFFFFFu) << routine.name;
        EXPECT_EQ(target[3], 0xDEADBEEFu) << routine.name;
        EXPECT_EQ(target[4], 0xFF000001u) << routine.name;
    }
}

TEST(BlendLineEx, EveryRoutineMatchesTheFormulaOnRandomRows)
{
    std::mt19937 rng(99);
    for (const TLineExCase& routine : LineExRoutines()) {
        for (int master : {0, 1, 2, 127, 128, 200, 254, 255}) {
            for (int count : {0, 1, 3, 4, 6, 9, 1920}) {
                const std::vector<TColor32> source = RandomPixels(rng, count);
                const std::vector<TColor32> original = RandomPixels(rng, count);
                std::vector<TColor32> target = original;
                routine.proc(source.data(), target.data(), count, master);
                for (int i = 0; i < count; ++i)
                    ASSERT_EQ(target[i], ExpectedLineEx(source[i], original[i], master))
                        << routine.name << " master " << master << " count " << count
                        << " pixel " << i;
            }
        }
    }
}

TEST(BlendLineEx, FullWeightBlendsInsteadOfCopying)
{
    for (const TLineExCase& routine : LineExRoutines()) {
        TColor32 source[4];
        TColor32 target[4];
        std::fill(source, source + 4, 0xFFFF0000u);
        std::fill(target, target + 4, 0xFF000000u);
        routine.proc(source, target, 4, 255);
        // w = 255 * 256 gives A' = 255: red (255 * 255 + 128) >> 8 = 254, not 255.
        EXPECT_EQ(target[0], 0xFFFE0000u) << routine.name;
    }
}

TEST(BlendLineEx, WeightsUpTo255LeaveTheTarget)
{
    for (const TLineExCase& routine : LineExRoutines()) {
        // M = 1 and A = 254 give w = 255; M = 2 and A = 127 give w = 256, the first to blend.
        const TColor32 source[4] = {0xFEFFFFFF, 0xFEFFFFFF, 0xFEFFFFFF, 0xFEFFFFFF};
        TColor32 target[4] = {0, 0, 0, 0};
        routine.proc(source, target, 4, 1);
        EXPECT_EQ(target[0], 0u) << routine.name;
        const TColor32 half[4] = {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF};
        routine.proc(half, target, 4, 2);
        EXPECT_EQ(target[0], Expected(0x7FFFFFFF, 0, 1)) << routine.name;
        EXPECT_NE(target[0], 0u) << routine.name;
    }
}

#if defined(__x86_64__)
TEST(BlendLine, UsesTheVectorRoutinesOnX86_64)
{
    EXPECT_STREQ(BlendRoutinesName(), "SSE2");
    EXPECT_NE(BlendLineVector(), nullptr);
    EXPECT_NE(BlendLineExVector(), nullptr);
}
#endif
