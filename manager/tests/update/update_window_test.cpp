// The update window's logic without widgets and without a network: what it shows when it opens, the
// header it shows, and the target model that variant C compares with.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "core/update/update_window.h"
#include "platform/file_writer.h"
#include "support/image_builder.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"
#include "support/scripted_library.h"
#include "support/scripted_link.h"

namespace torvane::test {
namespace {

using Lines = std::vector<std::string>;

class UpdateWindowTest : public ::testing::Test {
  protected:
    TempDir dir;
    ScriptedLibrary library;
    RecordingUi ui;
    PlatformFileWriter files;
    ScriptedLinks links;

    std::unique_ptr<UpdateWindow> Window(uint8_t model_code) {
        UpdateTimings fast;
        fast.wait_ms = 1;
        UpdateEnvironment env{library,        ui,           files,
                              links.Opener(), dir.path(),   dir.path() / "imgfile",
                              fast,           LocalTimeNow, [](int) {}};
        return std::make_unique<UpdateWindow>(env, UpdateTarget{model_code, "10.0.0.5", {0, 1, 2, 3, 4, 5}});
    }

    std::string Image(const std::string& name, ImageRecipe recipe) {
        const auto path = (dir.path() / name).string();
        WriteBytes(path, BuildImage(recipe));
        return path;
    }
    void Remember(const std::string& text) {
        std::ofstream(dir.path() / "updatevkafile.txt", std::ios::binary) << text;
    }
    Lines Messages() const { return ui.Lines("message "); }
};

TEST_F(UpdateWindowTest, FormShowOffersTheRememberedPathsAndNeedsThirtyThreeBytesOfIdentify) {
    ImageRecipe recipe;
    recipe.version = "V3.1";
    const std::string image = Image("fw.bin", recipe);
    const std::string gone = (dir.path() / "gone.bin").string();
    const std::string none = "-";  // no updatevkafile.txt
    const std::string kNotAck = "error OK Not ack from target device,the device may be offline.";
    struct Case {
        const char* name;
        std::string remembered;
        size_t answer_size;  // 0: the device stays silent
        std::optional<RememberedPaths> paths;
        std::string type, version, shown_version;
        Lines messages;
    } cases[] = {
        {"no file, a full answer", none, 49, std::nullopt, "VKB220", "V2.1", "", {}},
        {"both lines, 33 bytes",
         image + "\r\nweb.bin\r\n",
         33,
         RememberedPaths{image, "web.bin"},
         "VKB220",
         "V2.1",
         "V3.1",
         {}},
        {"one line after variant B, 32 bytes",
         image + "\r\n",
         32,
         RememberedPaths{image, ""},
         "Unknown Type",
         "Unknown Version",
         "V3.1",
         {kNotAck}},
        {"a 20-byte answer", none, 20, std::nullopt, "Unknown Type", "Unknown Version", "", {kNotAck}},
        {"a deleted image, silence",
         gone + "\r\nweb.bin\r\n",
         0,
         std::nullopt,
         "Unknown Type",
         "Unknown Version",
         "",
         {kNotAck}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir.path() / "updatevkafile.txt");
        if (c.remembered != none) Remember(c.remembered);
        ui.events.clear();
        links.requests.clear();
        links.opened.clear();
        links.answer = [&c](const Bytes&) -> std::optional<Bytes> {
            if (c.answer_size == 0) return std::nullopt;
            return IdentifyAnswerOf("VKB220", "V2.1", c.answer_size);
        };
        auto window = Window(0x20);
        std::strcpy(window->engine().login_record().user_name, "typed");
        const WindowOpening opening = window->FormShow("10.0.0.5");
        EXPECT_EQ(opening.paths.has_value(), c.paths.has_value());
        if (opening.paths && c.paths) {
            EXPECT_EQ(opening.paths->firmware, c.paths->firmware);
            EXPECT_EQ(opening.paths->web, c.paths->web);
        }
        EXPECT_EQ(opening.device_type, c.type);
        EXPECT_EQ(opening.device_version, c.version);
        EXPECT_EQ(window->ShownHeader().version, c.shown_version);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(links.opened, Lines{"10.0.0.5"});
        EXPECT_EQ(links.requests, (std::vector<Bytes>{{0xFA, 0xFA, 0x01, 0xF4}})) << "one identify request";
        const LoginRecord& login = window->engine().login_record();
        EXPECT_EQ(login.model_code, 0x20);
        EXPECT_EQ(std::string(login.user_name), "") << "the login record starts empty";
    }
}

TEST_F(UpdateWindowTest, TheShownHeaderIsThatOfTheLastFileLongerThan1116Bytes) {
    auto window = Window(0x20);
    EXPECT_EQ(window->ShownHeader(), HeaderTexts{}) << "empty boxes before any file";
    ImageRecipe first;
    first.file_size = 1117;
    first.version = "V1.7";
    first.date_time = "2025-01-02 03:04";
    first.target_model = "VKB301";
    first.minimum_version = "V1.1";
    first.description = "first";
    window->LoadHeader(Image("first.bin", first));
    EXPECT_EQ(window->ShownHeader(), (HeaderTexts{"V1.7", "2025-01-02 03:04", "VKB301", "V1.1", "first"}));

    ImageRecipe exact = first;
    exact.file_size = 1116;
    exact.version = "V9.9";
    window->LoadHeader(Image("exact.bin", exact));
    window->LoadHeader((dir.path() / "missing.bin").string());
    EXPECT_EQ(window->ShownHeader().version, "V1.7") << "a file of 1116 bytes or none replaces nothing";

    ImageRecipe second;
    second.version = "V2.0";
    second.description = std::string(1024, 'd');  // fills its field: no terminating zero
    window->LoadHeader(Image("second.bin", second));
    EXPECT_EQ(window->ShownHeader().version, "V2.0");
    EXPECT_EQ(window->ShownHeader().description, std::string(1024, 'd'));
}

// Variant C's model check up to the backup read, which a silent device ends after five waits.
TEST_F(UpdateWindowTest, VariantCComparesTheDeviceWithTheShownTargetModelOrElseTheImagesOwn) {
    ImageRecipe recipe;
    recipe.magic = "B32";
    recipe.target_model = "VKB220";
    recipe.minimum_version = "V1.0";
    const std::string image = Image("c.bin", recipe);
    ImageRecipe other = recipe;
    other.target_model = "VKB301";
    const std::string shown = Image("other.bin", other);
    links.answer = [](const Bytes& request) -> std::optional<Bytes> {
        if (request[1] == 0xFA) return IdentifyAnswerOf("VKB220", "V2.1", 49, 1024 + 2048);
        return std::nullopt;
    };
    struct Case {
        const char* name;
        bool show_other_header;
        Lines messages;
    } cases[] = {
        {"the shown header names another model",
         true,
         {"information OK The target device don't support updating,The updating process is abort.",
          "information OK The updating process is fault!"}},
        {"no header shown: the image's own",
         false,
         {"error OK The updating is fault,Maybe the device is offline.",
          "information OK The updating process is fault!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.events.clear();
        auto window = Window(0x20);
        if (c.show_other_header) window->LoadHeader(shown);
        const auto done = window->Button1Click("10.0.0.5", image, "", {true, false});
        ASSERT_TRUE(done.update);
        EXPECT_EQ(done.update->result, UpdateResult::kUnchanged);
        EXPECT_EQ(Messages(), c.messages);
    }
}

}  // namespace
}  // namespace torvane::test
