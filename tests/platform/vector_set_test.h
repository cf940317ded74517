// Tests of the pixel loops run once in each vector set the processor has:
// SSE2, then AVX2 and AVX-512, each held to its own loops.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ddraw/vector_sets.h"

class VectorSetTest : public ::testing::TestWithParam<platform::ddraw::rows::VectorSet> {
protected:
    void SetUp() override
    {
        if (GetParam() > platform::ddraw::rows::ProcessorVectors())
            GTEST_SKIP() << "this processor lacks these vectors";
        platform::ddraw::rows::LimitVectors(GetParam());
    }
    void TearDown() override { platform::ddraw::rows::LimitVectors(platform::ddraw::rows::VectorSet::Avx512); }
};

inline std::string VectorSetName(const ::testing::TestParamInfo<platform::ddraw::rows::VectorSet>& info)
{
    static const char* const names[] = { "Sse2", "Avx2", "Avx512" };
    return names[int(info.param)];
}

// Runs the tests of `Suite`, a VectorSetTest, in every vector set.
#define INSTANTIATE_FOR_EVERY_VECTOR_SET(Suite)                                                                        \
    INSTANTIATE_TEST_SUITE_P(Loops, Suite,                                                                             \
        ::testing::Values(platform::ddraw::rows::VectorSet::Sse2, platform::ddraw::rows::VectorSet::Avx2,              \
            platform::ddraw::rows::VectorSet::Avx512),                                                                 \
        VectorSetName)
