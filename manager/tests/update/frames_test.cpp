// The update's frames on the wire and the checks of the device's answers. Expected bytes are written
// out here with a comment per field.
#include <gtest/gtest.h>

#include "core/update/update_frames.h"
#include "support/image_builder.h"

namespace torvane {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes CrcHighFirst(Bytes f) {
    const uint16_t crc = test::BitwiseCrc(f.data(), f.size());
    f.push_back(static_cast<uint8_t>(crc >> 8));
    f.push_back(static_cast<uint8_t>(crc & 0xFF));
    return f;
}

TEST(UpdateFrames, RequestsCarryTheirFieldsHighByteFirst) {
    EXPECT_EQ(IdentifyRequest(), (Bytes{0xFA, 0xFA, /*sum*/ 0x01, 0xF4}));
    EXPECT_EQ(ReadBlockRequest(0x8080), (Bytes{0xFA, 0xF9, /*address*/ 0x80, 0x80, /*sum*/ 0x02, 0xF3}));
    EXPECT_EQ(PrepareRequest(), (Bytes{0xFA, 0xF5, 0x01, 0xEF}));
    EXPECT_EQ(RestartRequest(), (Bytes{0xFA, 0xF7, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, /*sum*/ 0x03, 0x56}));
    EXPECT_EQ(FirmwareBlockRequest(0x0004, Bytes{0x01, 0xFF}),
              (Bytes{0xFA, 0xF8, /*page*/ 0x00, 0x04, /*data*/ 0x01, 0xFF, /*sum*/ 0x02, 0xF6}));
    EXPECT_EQ(DataBlockRequest(0x8100, Bytes{0x10}),
              (Bytes{0xFA, 0xF6, 0x81, 0x00, 0x10, /*sum*/ 0x02, 0x81}));
    EXPECT_EQ(BReadRequest(0x0200), CrcHighFirst({0xF9, 0x00, 0x02, 0x00}));
    EXPECT_EQ(BWriteRequest(0x7C00, Bytes{0xAA, 0xBB}), CrcHighFirst({0xF8, 0x00, 0x7C, 0x00, 0xAA, 0xBB}));
    EXPECT_EQ(BRestartRequest(), CrcHighFirst({0xF7, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
    EXPECT_EQ(BPollRequest(), (Bytes{0xFA}));
}

TEST(UpdateFrames, IdentifyNeedsNineBytesAndReadsTheVariantCLength) {
    EXPECT_FALSE(ParseIdentifyAnswer(Bytes(8, 0x41)));
    const auto short_answer = ParseIdentifyAnswer(Bytes{0, 'V', 'K', 'A', '1', '0', '0', '-', 'S'});
    ASSERT_TRUE(short_answer);
    EXPECT_EQ(short_answer->model, "VKA100-S");
    EXPECT_EQ(short_answer->version, "");
    EXPECT_EQ(short_answer->n4, 0u);

    Bytes full(49, 0);
    const std::string model = "VKB220", version = "V2.1";
    std::copy(model.begin(), model.end(), full.begin() + 1);
    std::copy(version.begin(), version.end(), full.begin() + 17);
    full[45] = 0x00, full[46] = 0x44, full[47] = 0x01;  // N4 = 0x014400, little-endian
    const auto answer = ParseIdentifyAnswer(full);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->model, "VKB220");
    EXPECT_EQ(answer->version, "V2.1");
    EXPECT_EQ(answer->n4, 0x14400u);
    EXPECT_EQ(answer->size, 49u);
}

TEST(UpdateFrames, AnswerChecksAcceptOnlyWellFormedAnswers) {
    EXPECT_EQ(CheckStatusAnswer(Bytes{0xFA, 0xF8, 0x00, 0x01, 0xF2}), AnswerCheck::kAccepted);
    EXPECT_EQ(CheckStatusAnswer(Bytes{0xFA, 0xF8, 0x02, 0x01, 0xF4}), AnswerCheck::kRefused);
    EXPECT_EQ(CheckStatusAnswer(Bytes{0xFA, 0xF8, 0x00, 0x01}), AnswerCheck::kInvalid);
    EXPECT_EQ(CheckStatusAnswer(Bytes{0xFA, 0xF8, 0x00, 0x01, 0xF2, 0}), AnswerCheck::kInvalid);

    Bytes read{0xFA, 0xF9, 0x00, 0x80};
    for (int i = 0; i < 128; ++i)
        read.push_back(static_cast<uint8_t>(i));
    uint16_t sum = 0;
    for (uint8_t b : read)
        sum = static_cast<uint16_t>(sum + b);
    read.push_back(static_cast<uint8_t>(sum >> 8));
    read.push_back(static_cast<uint8_t>(sum & 0xFF));
    const auto ok = CheckReadAnswer(read, 0x80, 128);
    EXPECT_EQ(ok.check, ReadCheck::kData);
    ASSERT_EQ(ok.data.size(), 128u);
    EXPECT_EQ(ok.data[127], 127);
    EXPECT_EQ(CheckReadAnswer(read, 0x04, 1024).check, ReadCheck::kInvalid) << "another length code";
    Bytes wrong_sum = read;
    wrong_sum.back() ^= 1;
    EXPECT_EQ(CheckReadAnswer(wrong_sum, 0x80, 128).check, ReadCheck::kInvalid);
    EXPECT_EQ(CheckReadAnswer(Bytes{0xFA, 0xF9, 0x00, 0x00, 0x01, 0xF3}, 0x80, 128).check,
              ReadCheck::kDamaged);
    EXPECT_EQ(CheckReadAnswer(Bytes{0xFA, 0xF9, 0x01, 0x00, 0x01, 0xF4}, 0x80, 128).check,
              ReadCheck::kInvalid);
    EXPECT_EQ(CheckReadAnswer(Bytes{0xFA, 0xF9, 0x00, 0x80, 0x02, 0x73}, 0x80, 128).check,
              ReadCheck::kInvalid)
        << "a length code without its data";

    Bytes b_read = CrcHighFirst([] {
        Bytes b{0xF9, 0x00, 0x02, 0x00};
        b.resize(4 + 512, 0x5A);
        return b;
    }());
    ASSERT_TRUE(CheckBReadAnswer(b_read, 512));
    EXPECT_EQ(CheckBReadAnswer(b_read, 512)->size(), 512u);
    EXPECT_FALSE(CheckBReadAnswer(b_read, 488)) << "the length must be exact";
    b_read[10] ^= 1;
    EXPECT_FALSE(CheckBReadAnswer(b_read, 512));

    const Bytes request = BWriteRequest(0x0200, Bytes(512, 1));
    EXPECT_TRUE(CheckBWriteAnswer(Bytes{0xF8, 0x00, 0x02, 0x00}, request));
    EXPECT_FALSE(CheckBWriteAnswer(Bytes{0xF8, 0x00, 0x04, 0x00}, request)) << "another address";
    EXPECT_FALSE(CheckBWriteAnswer(Bytes{0xF8, 0x00, 0x02, 0x00, 0x00}, request));
}

}  // namespace
}  // namespace torvane
