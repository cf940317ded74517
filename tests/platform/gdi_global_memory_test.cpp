// GlobalAlloc, GlobalFree and lstrcpyA.
#include <gtest/gtest.h>

#include <cstring>

#include <windows.h>

namespace {

TEST(GdiGlobalMemory, ZeroInitialisedBlocksAreZeroAndFreeable)
{
    for (SIZE_T size : { SIZE_T { 0 }, SIZE_T { 1 }, SIZE_T { 60 }, SIZE_T { 4096 } }) {
        auto* block = static_cast<unsigned char*>(GlobalAlloc(GMEM_ZEROINIT, size));
        ASSERT_NE(block, nullptr);
        int nonZero = 0;
        for (SIZE_T i = 0; i < size; ++i)
            nonZero += block[i] != 0;
        EXPECT_EQ(nonZero, 0);
        if (size > 0) std::memset(block, 0xFF, size); // the block is really that large
        EXPECT_EQ(GlobalFree(block), nullptr);
    }
    void* fixed = GlobalAlloc(GMEM_FIXED, 16);
    EXPECT_NE(fixed, nullptr);
    EXPECT_EQ(GlobalFree(fixed), nullptr);
}

TEST(GdiGlobalMemory, RefusalsAreCleanFailures)
{
    EXPECT_EQ(GlobalAlloc(GMEM_ZEROINIT, ~SIZE_T { 0 }), nullptr);
    EXPECT_EQ(GlobalAlloc(0x0002 /* GMEM_MOVEABLE */, 16), nullptr);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    int local = 0;
    EXPECT_EQ(GlobalFree(&local), &local); // never allocated: failure hands it back
    void* block = GlobalAlloc(GMEM_FIXED, 8);
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalFree(block), block); // a second free fails instead of corrupting the heap
}

TEST(GdiGlobalMemory, LstrcpyCopiesAndToleratesNull)
{
    char buffer[16];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(lstrcpyA(buffer, "\x82\x6C\x82\x72"), buffer);
    EXPECT_STREQ(buffer, "\x82\x6C\x82\x72");
    EXPECT_EQ(buffer[5], 'x');
    EXPECT_EQ(lstrcpyA(nullptr, "a"), nullptr);
    EXPECT_EQ(lstrcpyA(buffer, nullptr), nullptr);
}

} // namespace
