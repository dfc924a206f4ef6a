// vkctl's firmware commands as a program against simulated devices: update of each variant, the WEB
// file, write-data and image, with the exit statuses and messages of the command-line contract.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "support/image_builder.h"
#include "support/vkctl_runner.h"

using namespace vkctltest;

namespace {

namespace fs = std::filesystem;

// An image of `body` bytes after its 4096-byte header, for the model's variant.
std::vector<uint8_t> ImageFor(const std::string& model, size_t body, const std::string& minimum = "V1.0") {
    const bool b32 = model != "VKA100" && model != "VKB200";
    return torvane::test::BuildImage({.magic = b32 ? "B32" : "BIN",
                                      .file_size = 4096 + body,
                                      .version = "V2.2",
                                      .target_model = model,
                                      .minimum_version = minimum});
}

class VkctlUpdate : public ::testing::Test {
  protected:
    fs::path dir;
    std::map<std::string, std::string> env;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vkctl-update-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        env = {{"TORVANE_HOME", (dir / "home").string()}};
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        torvane::test::WriteBytes(dir / name, bytes);
        return (dir / name).string();
    }

    Outcome Run(std::vector<std::string> args) { return Vkctl(args, env); }
};

TEST_F(VkctlUpdate, UpdatesADeviceOfEachVariantAndWritesItsBackupBack) {
    // The model each reports after its restart; variant B's poll answer is not read.
    const std::pair<const char*, const char*> cases[] = {
        {"VKA100", "VKA100-S"}, {"VKB200", ""}, {"VKB301", "VKB301"}};
    for (const auto& [model, new_model] : cases) {
        SCOPED_TRACE(model);
        auto device = vksim::ParseDeviceWords(std::string("model=") + model + " restart_ms=50", 0);
        vksim::Network net({device});
        const std::string image = Write("fw.bin", ImageFor(model, 5000));
        const Outcome o = Run({"update", "127.0.0.10", "--firmware", image, "--backup-dir",
                               (dir / "backups").string(), "--json"});
        ASSERT_EQ(o.status, 0) << o.err;
        const auto j = nlohmann::ordered_json::parse(o.out);
        std::vector<std::string> keys;
        for (const auto& item : j.items())
            keys.push_back(item.key());
        EXPECT_EQ(keys,
                  (std::vector<std::string>{"result", "backup", "new_model", "new_version", "data_written"}));
        EXPECT_EQ(j["result"], 0);
        EXPECT_EQ(j["new_model"], new_model);
        EXPECT_EQ(j["new_version"], "V2.2");
        EXPECT_EQ(j["data_written"], true);
        EXPECT_EQ(fs::path(j["backup"].get<std::string>()).parent_path(), dir / "backups");
        EXPECT_EQ(Lines(o.err),
                  std::vector<std::string>{
                      "vkctl: The updating is complete,The target device's firmware version is V2.2"});
        const vksim::Device after = net.WithDevice(0, [](vksim::Device& d) { return d; });
        EXPECT_EQ(after.firmware, "V2.2");
        const auto backup = torvane::test::ReadBytes(j["backup"].get<std::string>());
        ASSERT_GE(backup.size(), 1024u);
        EXPECT_TRUE(std::equal(backup.begin(), backup.begin() + 1024, after.update.data.begin()))
            << "the backup was written back";
    }
}

TEST_F(VkctlUpdate, ExitStatusesFollowWhereTheUpdateEnded) {
    struct Case {
        const char* words;
        std::vector<std::string> extra;
        int status;
        const char* message;  // a line of stderr
    };
    const Case cases[] = {
        {"model=VKB220", {"--password", "wrong"}, 4, "vkctl: The username or password is invalid."},
        {"model=VKB220 update_model=VKB999",
         {},
         8,
         "vkctl: The target device don't support updating,The updating process is abort."},
        {"model=VKB220 lose_identify=1", {}, 8, "vkctl: The device is offline, Process is abort."},
        {"model=VKB220 silent_after_restart=1",
         {},
         9,
         "vkctl: The updating is fault,the device's data is save in\r"},
        {"model=VKB220 lose_data=1/2/3/4/5",
         {},
         10,
         "vkctl: The updating is fault,Maybe the device is offline."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        auto device = vksim::ParseDeviceWords(std::string(c.words) + " restart_ms=50 password=pw", 0);
        if (c.extra.empty()) device.password = "";
        vksim::Network net({device});
        const std::string image = Write("fw.bin", ImageFor(device.model->name, 3000));
        std::vector<std::string> args{"update", "127.0.0.10", "--firmware", image};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, c.status) << o.err;
        const auto lines = Lines(o.err);
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.message), lines.end()) << o.err;
    }
}

TEST_F(VkctlUpdate, RefusalsOfTheCommandLineAndOfTheImage) {
    auto device = Make("VKB220", 0);
    vksim::Network net({device});
    const std::string bin = Write("a.bin", ImageFor("VKA100", 3000));
    Outcome o = Run({"update", "127.0.0.10"});
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(OneErrorLine(o, "--firmware"));
    o = Run({"update", "127.0.0.10", "--firmware", bin});
    EXPECT_EQ(o.status, 8);
    EXPECT_EQ(Lines(o.err), (std::vector<std::string>{
                                "vkctl: The format of firmware is error,the updating Process is abort.",
                                "vkctl: The updating process is fault!"}));
    o = Run({"update", "127.0.0.10", "--firmware", (dir / "missing.bin").string()});
    EXPECT_EQ(o.status, 8);
    EXPECT_TRUE(OneErrorLine(o, "The firmware file is not exist,Process is abort!"));
    for (const auto& r : net.Requests())
        EXPECT_TRUE(r.bytes.empty() || r.bytes[0] < 0xF5) << "an update request went out";
    o = Run({"update", "127.0.0.99", "--firmware", bin});
    EXPECT_EQ(o.status, 3);
}

TEST_F(VkctlUpdate, AWebFileAloneOrInsteadOfTheBackup) {
    auto device = vksim::ParseDeviceWords("model=VKB220 restart_ms=50", 0);
    vksim::Network net({device});
    const std::vector<uint8_t> web(2500, 0x77);
    const std::string web_path = Write("web.bin", web);
    Outcome o = Run({"update", "127.0.0.10", "--web", web_path});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Lines(o.err), std::vector<std::string>{"vkctl: The WEB updating is complete."});
    auto data = net.WithDevice(0, [](vksim::Device& d) { return d.update.data; });
    EXPECT_TRUE(std::equal(web.begin(), web.end(), data.begin()));

    o = Run(
        {"update", "127.0.0.10", "--firmware", Write("fw.bin", ImageFor("VKB220", 3000)), "--web", web_path});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Lines(o.err),
              std::vector<std::string>{
                  "vkctl: The updating is complete,The target device's firmware versio is V2.2"});
    data = net.WithDevice(0, [](vksim::Device& d) { return d.update.data; });
    EXPECT_TRUE(std::equal(web.begin(), web.end(), data.begin())) << "the WEB file, not the backup";
    EXPECT_EQ(data[3000], 0xFF) << "the restart erased the rest";
    const auto remembered = torvane::test::ReadBytes(dir / "home" / "updatevkafile.txt");
    EXPECT_EQ(std::string(remembered.begin(), remembered.end()),
              (dir / "fw.bin").string() + "\r\n" + web_path + "\r\n");
}

TEST_F(VkctlUpdate, WriteDataRestoresABackup) {
    auto device = Make("VKA100", 0);
    vksim::Network net({device});
    std::vector<uint8_t> backup(30208);
    for (size_t i = 0; i < backup.size(); ++i)
        backup[i] = static_cast<uint8_t>(i % 251);
    Outcome o = Run({"write-data", "127.0.0.10", Write("20240506070809.vka", backup)});
    ASSERT_EQ(o.status, 0) << o.err;
    const auto data = net.WithDevice(0, [](vksim::Device& d) { return d.update.data; });
    EXPECT_TRUE(std::equal(backup.begin(), backup.begin() + 29696, data.begin()));
    EXPECT_NE(data[29696], backup[29696]) << "the last 512 bytes of a variant A backup are not written";
    o = Run({"write-data", "127.0.0.10", (dir / "none").string()});
    EXPECT_EQ(o.status, 8);
}

TEST_F(VkctlUpdate, ImageShowsTheHeaderAndTheVariantsThatTakeIt) {
    const std::string b32 = Write("c.bin", ImageFor("VKB220", 70000 - 4096));
    Outcome o = Run({"image", b32});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("target model  VKB220"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("over 4464 bytes: match"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("variant C (other models): passes"), std::string::npos) << o.out;
    EXPECT_NE(
        o.out.find("variant A (model 0x01): refused: The format of firmware file is error,Updating abort!"),
        std::string::npos);

    o = Run({"image", b32, "--model-code", "0x10", "--json"});
    EXPECT_EQ(o.status, 8);
    const auto j = nlohmann::json::parse(o.out);
    EXPECT_EQ(j["size"], 70000);
    EXPECT_EQ(j["crc"]["match"], true);
    EXPECT_EQ(j["variants"].size(), 1u);
    EXPECT_EQ(j["variants"]["B"]["passes"], false);
    EXPECT_TRUE(OneErrorLine(o, "The format of firmware file is error,Process is abort."));
    EXPECT_EQ(Run({"image", b32, "--model-code", "300"}).status, 2);
}

TEST_F(VkctlUpdate, AProgressBarShowsOnATerminal) {
    auto device = vksim::ParseDeviceWords("model=VKB220 restart_ms=50", 0);
    vksim::Network net({device});
    const std::string image = Write("fw.bin", ImageFor("VKB220", 3000));
    setenv("TORVANE_HOME", (dir / "home").c_str(), 1);
    const TerminalOutcome o = VkctlOnTerminal({"update", "127.0.0.10", "--firmware", image}, {});
    unsetenv("TORVANE_HOME");
    EXPECT_EQ(o.status, 0) << o.screen;
    EXPECT_NE(o.screen.find("Save the device's data to harddisk. [##############################] 100%"),
              std::string::npos)
        << o.screen;
    EXPECT_NE(o.screen.find("Upating,Please wait..."), std::string::npos);
    EXPECT_NE(o.screen.find("resume the data of device..."), std::string::npos);
}

}  // namespace
