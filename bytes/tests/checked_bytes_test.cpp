#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

#include "checked/reader.h"
#include "checked/writer.h"

namespace {

constexpr std::array<uint8_t, 6> kData{0x12, 0x34, 0x56, 0x78, 'A', 0};

TEST(CheckedReader, RangeChecksHoldAtTheEdgesAndNeverOverflow) {
    checked::Reader in(kData);
    constexpr size_t kMax = std::numeric_limits<size_t>::max();
    struct Case {
        size_t offset, count;
        bool has;
    } cases[] = {
        {0, 6, true},  {6, 0, true},     {5, 1, true},     {6, 1, false},       {0, 7, false},
        {7, 0, false}, {1, kMax, false}, {kMax, 1, false}, {kMax, kMax, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(in.Has(c.offset, c.count), c.has) << c.offset << "+" << c.count;
}

TEST(CheckedReader, AbsoluteReadsReportMissingBytesAndLeaveTheOutputAlone) {
    checked::Reader in(kData);
    uint16_t w = 0xAAAA;
    EXPECT_TRUE(in.U16BeAt(0, w));
    EXPECT_EQ(w, 0x1234);
    EXPECT_TRUE(in.U16LeAt(0, w));
    EXPECT_EQ(w, 0x3412);
    uint32_t d = 0;
    EXPECT_TRUE(in.U32BeAt(0, d));
    EXPECT_EQ(d, 0x12345678u);
    EXPECT_TRUE(in.U32LeAt(0, d));
    EXPECT_EQ(d, 0x78563412u);

    w = 0xAAAA;
    d = 0xBBBBBBBB;
    uint8_t b = 0xCC;
    EXPECT_FALSE(in.U16BeAt(5, w));
    EXPECT_FALSE(in.U32LeAt(3, d));
    EXPECT_FALSE(in.U8At(6, b));
    EXPECT_EQ(w, 0xAAAA);
    EXPECT_EQ(d, 0xBBBBBBBBu);
    EXPECT_EQ(b, 0xCC);

    std::array<uint8_t, 3> out{9, 9, 9};
    EXPECT_FALSE(in.CopyAt(4, out));
    EXPECT_EQ(out, (std::array<uint8_t, 3>{9, 9, 9}));
    EXPECT_TRUE(in.CopyAt(3, out));
    EXPECT_EQ(out, (std::array<uint8_t, 3>{0x78, 'A', 0}));
}

TEST(CheckedReader, CursorMovesOnlyOnSuccess) {
    checked::Reader in(kData);
    uint16_t w;
    ASSERT_TRUE(in.FetchU16Be(w));
    EXPECT_EQ(in.position(), 2u);
    uint32_t d;
    EXPECT_FALSE(in.Seek(7));
    EXPECT_TRUE(in.Skip(1));
    EXPECT_FALSE(in.FetchU32Le(d));  // 3 bytes left
    EXPECT_EQ(in.position(), 3u);
    EXPECT_FALSE(in.Skip(4));
    EXPECT_EQ(in.position(), 3u);
    std::string_view text;
    ASSERT_TRUE(in.FetchFieldText(3, text));
    EXPECT_EQ(text, std::string_view("\x78"
                                     "A"));  // up to the NUL
    EXPECT_TRUE(in.AtEnd());
    uint8_t b;
    EXPECT_FALSE(in.FetchU8(b));
    EXPECT_FALSE(in.FetchIf(0));
}

TEST(CheckedReader, FieldTextWithoutNulIsTheWholeFieldAndFetchUntilStopsAtTheEnd) {
    const std::array<uint8_t, 4> full{'a', 'b', 'c', 'd'};
    checked::Reader in(full);
    std::string_view text;
    ASSERT_TRUE(in.FieldTextAt(1, 3, text));
    EXPECT_EQ(text, "bcd");
    EXPECT_FALSE(in.FieldTextAt(2, 3, text));
    auto part = in.FetchUntil([](uint8_t c) { return c == 'c'; });
    EXPECT_EQ(part.size(), 2u);
    EXPECT_TRUE(in.FetchIf('c'));
    part = in.FetchUntil([](uint8_t c) { return c == '/'; });
    EXPECT_EQ(part.size(), 1u);
    EXPECT_TRUE(in.AtEnd());
    checked::Reader sub;
    EXPECT_FALSE(in.SubAt(3, 2, sub));
    ASSERT_TRUE(in.SubAt(1, 2, sub));
    EXPECT_EQ(sub.size(), 2u);
}

TEST(CheckedWriter, WritesAllOrNothingAndTextsAlwaysEndWithNul) {
    std::array<uint8_t, 8> buf{};
    buf.fill(0xEE);
    checked::Writer out(std::span<uint8_t>(buf).first(6));  // bytes 6 and 7 are guards
    EXPECT_TRUE(out.U16BeAt(0, 0x0102));
    EXPECT_TRUE(out.U16LeAt(2, 0x0304));
    EXPECT_FALSE(out.U32LeAt(3, 0xFFFFFFFF));
    EXPECT_FALSE(out.U8At(6, 1));
    const std::array<uint8_t, 3> three{7, 7, 7};
    EXPECT_FALSE(out.BytesAt(4, three));
    EXPECT_EQ(buf, (std::array<uint8_t, 8>{1, 2, 4, 3, 0xEE, 0xEE, 0xEE, 0xEE}));

    EXPECT_TRUE(out.TerminatedTextAt(2, 4, "abcdef"));
    EXPECT_EQ(buf, (std::array<uint8_t, 8>{1, 2, 'a', 'b', 'c', 0, 0xEE, 0xEE}));
    EXPECT_TRUE(out.TerminatedTextAt(2, 4, "x"));
    EXPECT_EQ(buf, (std::array<uint8_t, 8>{1, 2, 'x', 0, 0, 0, 0xEE, 0xEE}));
    EXPECT_FALSE(out.TerminatedTextAt(3, 4, "x"));
    EXPECT_FALSE(out.TerminatedTextAt(0, 0, ""));
    EXPECT_EQ(buf[6], 0xEE);
}

}  // namespace
