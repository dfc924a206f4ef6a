// Firmware images: the checks of each variant with their messages, the CRC's coverage, header fields.
#include <gtest/gtest.h>

#include "core/update/checksums.h"
#include "core/update/image.h"
#include "demo_images.h"
#include "device_list.h"
#include "support/image_builder.h"
#include "support/sandbox.h"
#include "vkcfg.h"

namespace torvane {
namespace {

using test::BuildImage;
using test::ImageRecipe;

struct CheckCase {
    const char* name;
    UpdateVariant variant;
    ImageRecipe recipe;
    const char* expected;  // nullptr: the image passes
};

ImageRecipe B32(size_t size, bool correct_crc = true) {
    ImageRecipe s;
    s.magic = "B32";
    s.file_size = size;
    s.correct_crc = correct_crc;
    return s;
}

ImageRecipe Bin(size_t size, const char* magic = "BIN") {
    ImageRecipe s;
    s.magic = magic;
    s.file_size = size;
    return s;
}

TEST(FirmwareImage, EachVariantRefusesWithItsOwnMessageInOrder) {
    const CheckCase cases[] = {
        {"A takes BIN", UpdateVariant::kA, Bin(7000), nullptr},
        {"A refuses B32", UpdateVariant::kA, B32(7000),
         "The format of firmware file is error,Updating abort!"},
        {"B refuses other magic", UpdateVariant::kB, Bin(7000, "XYZ"),
         "The format of firmware file is error,Process is abort."},
        {"C refuses BIN", UpdateVariant::kC, Bin(7000),
         "The format of firmware is error,the updating Process is abort."},
        {"C at 262,144 bytes", UpdateVariant::kC, B32(262144), nullptr},
        {"C at 262,145 bytes", UpdateVariant::kC, B32(262145),
         "the firmware size if too large,the updating is abort."},
        {"C size before CRC", UpdateVariant::kC, B32(262145, false),
         "the firmware size if too large,the updating is abort."},
        {"C wrong CRC", UpdateVariant::kC, B32(70000, false),
         "The crc of firmware is error,the upating process is abort."},
        {"C too short for a CRC", UpdateVariant::kC, B32(1000),
         "The crc of firmware is error,the upating process is abort."},
        {"A without body", UpdateVariant::kA, Bin(4096),
         "The firmware file holds no firmware after its 4096-byte header,Process is abort."},
        {"B without body", UpdateVariant::kB, Bin(100),
         "The firmware file holds no firmware after its 4096-byte header,Process is abort."},
        {"B body of 65,535", UpdateVariant::kB, Bin(4096 + 65535), nullptr},
        {"B body of 65,536", UpdateVariant::kB, Bin(4096 + 65536),
         "The firmware body is longer than 65535 bytes,Process is abort."},
        {"A body of 70,000", UpdateVariant::kA, Bin(4096 + 70000), nullptr},
    };
    test::TempDir dir;
    for (const CheckCase& c : cases) {
        const auto path = (dir.path() / "image.bin").string();
        test::WriteBytes(path, BuildImage(c.recipe));
        const ImageCheck check = CheckImage(c.variant, path);
        if (c.expected == nullptr) {
            EXPECT_TRUE(check.image.has_value()) << c.name << ": " << check.refusal;
        } else {
            EXPECT_FALSE(check.image.has_value()) << c.name;
            EXPECT_EQ(check.refusal, c.expected) << c.name;
        }
    }
}

TEST(FirmwareImage, EmptyPathAndMissingFileHaveTheVariantsTexts) {
    struct Case {
        UpdateVariant variant;
        const char* empty;
        const char* missing;
    };
    const Case cases[] = {
        {UpdateVariant::kA, "Please load the firmware file first", "The fireware file don't exist!"},
        {UpdateVariant::kB, "Pleas load the firmware file first",
         "The firmware file is not exist,Process is abort."},
        {UpdateVariant::kC, "The firmware file must be load first",
         "The firmware file is not exist,Process is abort."},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        EXPECT_EQ(CheckImage(c.variant, "").refusal, c.empty);
        EXPECT_EQ(CheckImage(c.variant, (dir.path() / "gone.bin").string()).refusal, c.missing);
        EXPECT_EQ(CheckImage(c.variant, dir.path().string()).refusal, c.missing) << "a folder is no file";
    }
}

TEST(FirmwareImage, BodyIsWhatFollowsTheHeaderAndVariantAStopsAt60416Bytes) {
    test::TempDir dir;
    const auto path = (dir.path() / "a.bin").string();
    const auto image = BuildImage(Bin(4096 + 70000));
    test::WriteBytes(path, image);
    const auto a = CheckImage(UpdateVariant::kA, path);
    ASSERT_TRUE(a.image);
    const auto body = test::BodyOf(image);
    EXPECT_EQ(a.image->body, std::vector<uint8_t>(body.begin(), body.begin() + 60416));
    EXPECT_EQ(a.image->file_size, 4096u + 70000u);

    const auto b_image = BuildImage(Bin(4096 + 1000));
    test::WriteBytes(path, b_image);
    EXPECT_EQ(CheckImage(UpdateVariant::kB, path).image->body, test::BodyOf(b_image));
}

TEST(FirmwareImage, CrcCoversTheFileSizeModulo65536) {
    auto image = BuildImage(B32(70000));
    ASSERT_TRUE(ImageCrcMatches(image));
    image[4464] ^= 0xFF;  // the first byte past the coverage
    EXPECT_TRUE(ImageCrcMatches(image));
    image[4463] ^= 0xFF;  // the last covered byte
    EXPECT_FALSE(ImageCrcMatches(image));

    auto whole = BuildImage(B32(131072, false));
    EXPECT_EQ(ImageCrc(whole), 0) << "a multiple of 65,536 covers nothing";
    whole[1112] = whole[1113] = 0;
    EXPECT_TRUE(ImageCrcMatches(whole));
}

TEST(FirmwareImage, Crc16AgreesWithTheLibraryAndTheCheckValue) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc16(reinterpret_cast<const uint8_t*>(check.data()), 9), 0x31C3);
    const auto image = BuildImage(Bin(9000));
    for (uint16_t n : {uint16_t{0}, uint16_t{1}, uint16_t{517}, uint16_t{9000}})
        EXPECT_EQ(Crc16(image.data(), n), cal_crc(image.data(), n)) << n;
    EXPECT_EQ(Sum16(std::vector<uint8_t>(300, 0xFF)), static_cast<uint16_t>(300 * 255));
}

TEST(FirmwareImage, HeaderFieldsAndTheDisplayRuleOf1116Bytes) {
    ImageRecipe recipe = Bin(1117);
    recipe.target_model = std::string(32, 'M');  // a field without a zero byte is read whole
    recipe.minimum_version = "Ver 2.05b";
    test::TempDir dir;
    const auto path = (dir.path() / "h.bin").string();
    test::WriteBytes(path, BuildImage(recipe));
    const auto h = LoadHeaderForDisplay(path);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->Magic(), "BIN");
    EXPECT_EQ(h->Version(), "V2.2");
    EXPECT_EQ(h->TargetModel(), std::string(32, 'M'));
    EXPECT_EQ(h->DateTime(), "2024-05-06 07:08");
    EXPECT_EQ(h->Description(), "test image");
    EXPECT_EQ(h->MinimumVersion(), "Ver 2.05b");

    test::WriteBytes(path, BuildImage(Bin(1116)));
    EXPECT_FALSE(LoadHeaderForDisplay(path)) << "1116 bytes do not replace the shown header";
    EXPECT_FALSE(LoadHeaderForDisplay((dir.path() / "none.bin").string()));
}

// The images vksim writes for trying the update by hand pass the checks of their model's variant and
// name the model that the simulated device reports.
TEST(FirmwareImage, TheSimulatorsDemoImagesPassTheirModelsChecks) {
    test::TempDir dir;
    for (const vksim::ModelInfo& model : vksim::AllModels()) {
        SCOPED_TRACE(model.name);
        const auto path = dir.path() / (std::string(model.name) + ".bin");
        test::WriteBytes(path, vksim::DemoImage(model));
        const ImageCheck check = CheckImage(UpdateVariantFor(model.code), path.string());
        ASSERT_TRUE(check.image) << check.refusal;
        EXPECT_EQ(check.image->header.TargetModel(), vksim::MakeDevice(model, 0).update.model_text);
        EXPECT_FALSE(check.image->body.empty());
    }
}

}  // namespace
}  // namespace torvane
