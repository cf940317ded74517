// Tests of the pixel loops run once for each vector set the processor has
// and each way of storing a partly keyed vector, the loops held to that
// pair; sets the processor lacks are skipped, and say so.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "pixels/loop_choice.h"
#include "pixels/testing_hooks.h"

struct LoopCase {
    platform::pixels::VectorSet set;
    platform::pixels::KeyedStores keyedStores;
};

inline std::string LoopCaseName(const LoopCase& loops)
{
    static const char* const sets[] = { "Portable", "Sse2", "Avx2", "Avx512", "WasmSimd128" };
    return std::string(sets[int(loops.set)])
        + (loops.keyedStores == platform::pixels::KeyedStores::Masked ? "Masked" : "Blend");
}

// Holds the loops to `loops` for the test, or skips it.
inline void HoldLoops(const LoopCase& loops)
{
    if (!platform::pixels::ProcessorHas(loops.set)
        || platform::pixels::LoopsOf(loops.set, loops.keyedStores, 4) == nullptr)
        GTEST_SKIP() << "this processor or build lacks these vectors";
    ASSERT_TRUE(platform::pixels::HoldVectorSet(loops.set));
    platform::pixels::HoldKeyedStores(loops.keyedStores);
}

inline void ReleaseLoops()
{
    platform::pixels::HoldVectorSet(std::nullopt);
    platform::pixels::HoldKeyedStores(std::nullopt);
}

class LoopsTest : public ::testing::TestWithParam<LoopCase> {
protected:
    void SetUp() override { HoldLoops(GetParam()); }
    void TearDown() override { ReleaseLoops(); }

    // The loops the test is held to, for pixels of `bytes` bytes.
    static const platform::pixels::PixelLoops& Held(int bytes)
    {
        const platform::pixels::PixelLoops& loops = platform::pixels::Loops(bytes);
        EXPECT_EQ(loops.set, GetParam().set);
        if (platform::pixels::HasMaskedStores(loops.set, bytes)) {
            EXPECT_EQ(loops.keyedStores, GetParam().keyedStores);
        }
        return loops;
    }
};

#define PIXELS_EVERY_LOOP_CASE                                                                                         \
    ::testing::Values(LoopCase { platform::pixels::VectorSet::Portable, platform::pixels::KeyedStores::Blend },        \
        LoopCase { platform::pixels::VectorSet::Sse2, platform::pixels::KeyedStores::Blend },                          \
        LoopCase { platform::pixels::VectorSet::Avx2, platform::pixels::KeyedStores::Masked },                         \
        LoopCase { platform::pixels::VectorSet::Avx2, platform::pixels::KeyedStores::Blend },                          \
        LoopCase { platform::pixels::VectorSet::Avx512, platform::pixels::KeyedStores::Masked },                       \
        LoopCase { platform::pixels::VectorSet::Avx512, platform::pixels::KeyedStores::Blend },                        \
        LoopCase { platform::pixels::VectorSet::WasmSimd128, platform::pixels::KeyedStores::Blend })

// Runs the tests of `Suite`, a LoopsTest, for every set and store method.
#define INSTANTIATE_FOR_EVERY_LOOP_CASE(Suite)                                                                         \
    INSTANTIATE_TEST_SUITE_P(Loops, Suite, PIXELS_EVERY_LOOP_CASE,                                                     \
        [](const ::testing::TestParamInfo<LoopCase>& info) { return LoopCaseName(info.param); })
