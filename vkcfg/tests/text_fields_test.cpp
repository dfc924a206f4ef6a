// Every text field that the header promises to end with a NUL does so whatever the device sends; the
// fields the header calls whole width keep the device's bytes as sent.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codec/frame.h"
#include "codec/param_record.h"
#include "codec/search_answer.h"
#include "codec/text_commands.h"
#include "support/text_fields.h"
#include "vkcfg.h"

using namespace vkcfg::codec;
using vktest::UnterminatedText;

namespace {

// A frame of `size` bytes without a single NUL: every text a parser takes from it fills its field.
std::vector<uint8_t> NoNulFrame(size_t size, uint8_t model) {
    std::vector<uint8_t> f(size);
    for (size_t i = 0; i < size; ++i)
        f[i] = static_cast<uint8_t>('0' + i % 64);
    f[9] = model;
    return f;
}

}  // namespace

TEST(TextFields, BinarySearchRecordsEndAddressTextsAndKeepNamesWholeWidth) {
    for (uint8_t model : {uint8_t{0x10}, uint8_t{0x38}, uint8_t{0x93}}) {
        SCOPED_TRACE(int(model));
        auto frame = NoNulFrame(94 + 54 * 8, model);
        VkSearchRecord r{};  // searches start from a cleared record
        ASSERT_EQ(FillFromBinarySearchAnswer(frame, r), BinaryFill::kFilled);
        EXPECT_EQ(UnterminatedText(&r, sizeof r, vktest::kSearchRecordTexts), "");
        EXPECT_EQ(std::memcmp(r.device_name, frame.data() + 20, sizeof r.device_name), 0);  // whole width
    }
}

TEST(TextFields, TextSearchRecordsEndEveryText) {
    std::string a = "A" + std::string(40, '7') + "/" + std::string(9, '9') + "/a/b/c/" + std::string(30, 'N');
    a += '\0';
    a += '?';
    for (int field = 0; field < 8; ++field)
        a += std::string(40, static_cast<char>('a' + field)) + (field < 7 ? "/" : "");
    std::vector<uint8_t> bytes(a.begin(), a.end());
    VkSearchRecord r{};
    ASSERT_EQ(ParseTextSearchAnswer(bytes, r), TextAnswer::kDevice);
    EXPECT_EQ(UnterminatedText(&r, sizeof r, vktest::kSearchRecordTexts), "");
    const vktest::TextField names[] = {{"device_name", VK_SR_DEVICE_NAME, 10},
                                       {"firmware_version", VK_SR_FIRMWARE_VERSION, 16}};
    EXPECT_EQ(UnterminatedText(&r, sizeof r, names), "");
}

TEST(TextFields, ParameterRecordsEndAddressTextsInBothLayouts) {
    for (uint8_t model : {uint8_t{0x10}, uint8_t{0x34}, uint8_t{0x38}}) {
        SCOPED_TRACE(int(model));
        auto frame = NoNulFrame(ParameterFrameSize(model), model);
        auto block = BinaryBlockOfFrame(frame);
        ASSERT_FALSE(block.empty());
        VkParamRecord r;
        std::memset(&r, 'x', sizeof r);
        ASSERT_EQ(BinaryBlockToRecord(block, r), RecordLayoutSize(model));
        if (model == 0x10) {
            EXPECT_EQ(UnterminatedText(&r, sizeof r, vktest::kSinglePortTexts), "");
        } else {
            EXPECT_EQ(UnterminatedText(&r, RecordLayoutSize(model), vktest::kMultiPortTexts), "");
        }
    }
}

TEST(TextFields, FirstGenerationAnswersEndEveryTextButTheUrl) {
    VkaWorkBlock b;
    std::memset(&b, 'x', sizeof b);
    const std::string value(60, 'v');
    for (const char* tag : {"22", "25", "27", "28", "2F", "33", "35", "36", "38", "39", "3A"})
        StoreAnswer("A" + value + "|" + tag, b);
    EXPECT_EQ(UnterminatedText(&b, sizeof b, vktest::kWorkBlockTexts), "");
    EXPECT_EQ(std::string(b.url, sizeof b.url), value.substr(0, 30));  // whole width
}
