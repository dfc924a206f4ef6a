// Serial-line requests of both generations, byte for byte.
#include <gtest/gtest.h>

#include <array>

#include "codec/frame.h"
#include "codec/serial_line.h"

using namespace vkcfg::codec;

TEST(SerialText, CommandsAndDigitMappings) {
    struct Case {
        SerialItem item;
        int value;
        const char* text;
    };
    const Case cases[] = {
        {SerialItem::kSpeed, 1200, "PBR0"}, {SerialItem::kSpeed, 9600, "PBR3"},
        {SerialItem::kSpeed, 300, "PBR3"},  {SerialItem::kSpeed, 115200, "PBR7"},
        {SerialItem::kSpeed, -5, "PBR3"},   {SerialItem::kParity, 0, "PPR0"},
        {SerialItem::kParity, 1, "PPR2"},   {SerialItem::kParity, 2, "PPR1"},
        {SerialItem::kParity, 3, "PPR3"},   {SerialItem::kParity, 4, "PPR4"},
        {SerialItem::kParity, 5, "PPR0"},   {SerialItem::kDataBits, 7, "PBB0"},
        {SerialItem::kDataBits, 8, "PBB1"}, {SerialItem::kDataBits, 5, "PBB1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextSerialCommand(c.item, c.value), c.text) << c.value;
}

TEST(SerialFrame, EachCallChangesOneItemAndMarksTheOthersUnchanged) {
    using Block = std::array<uint8_t, 6>;
    EXPECT_EQ(SerialChangeBlock(SerialItem::kSpeed, 115200), (Block{0x80, 0x04, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(SerialChangeBlock(SerialItem::kSpeed, 9600), (Block{96, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(SerialChangeBlock(SerialItem::kDataBits, 7), (Block{0xFF, 0xFF, 7, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(SerialChangeBlock(SerialItem::kParity, 2), (Block{0xFF, 0xFF, 0xFF, 0xFF, 2, 0xFF}));
    // Values the block cannot carry: they would read as "unchanged" or wrap around.
    EXPECT_FALSE(SerialChangeBlock(SerialItem::kSpeed, 0));
    EXPECT_FALSE(SerialChangeBlock(SerialItem::kSpeed, 6553500));
    EXPECT_FALSE(SerialChangeBlock(SerialItem::kParity, 255));
    EXPECT_FALSE(SerialChangeBlock(SerialItem::kDataBits, -1));

    auto frame = BuildSerialFrame(3, *SerialChangeBlock(SerialItem::kSpeed, 115200));
    EXPECT_EQ(frame[0], 0xFF);  // marker
    EXPECT_EQ(frame[7], 0);     // no tag
    EXPECT_EQ(frame[8], 9);     // SERIAL_SET
    EXPECT_EQ(frame[10], 3);    // channel
    const std::array<uint8_t, 6> mac_field{frame[12], frame[13], frame[14], frame[15], frame[16], frame[17]};
    EXPECT_EQ(mac_field, (std::array<uint8_t, 6>{}));  // names no device: sent to its address
    EXPECT_EQ(frame[18], 0x80);
    EXPECT_EQ(frame[19], 0x04);
    for (size_t i = 20; i < 24; ++i)
        EXPECT_EQ(frame[i], 0xFF) << i;
    EXPECT_TRUE(ChecksumMatches(frame));
}
