// Updates and data writes of every variant against simulated devices, with the faults the devices can
// show and the refusals that must stop an update before it touches the device.
#include <filesystem>

#include "core/text/device_text.h"

#include "update/update_fixture.h"

namespace torvane::test {
namespace {

namespace fs = std::filesystem;

struct VariantCase {
    const char* model;
    size_t body;
    const char* backup_extension;
    size_t backup_size;
    size_t restored;  // bytes of the backup the data write puts back
};

// A firmware-only update from the button: DoUpdate, then the backup written back, then the message.
TEST_F(UpdateOverUdp, EveryVariantUpdatesAndWritesItsBackupBack) {
    const VariantCase cases[] = {
        {"VKA100", 40000, ".vka", 30208, 29696},
        {"VKB200", 1000, ".vkb", 32256, 32256},
        {"VKB220", 3000, ".vka", 16384, 16384},
    };
    for (const VariantCase& c : cases) {
        SCOPED_TRACE(c.model);
        ui.events.clear();
        StartDevice(std::string("model=") + c.model);
        const std::vector<uint8_t> data_before = Device().update.data;
        const auto image = BuildImage(RecipeFor(c.model, c.body));
        WriteBytes(dir.path() / "fw.bin", image);
        auto engine = Engine();

        const auto done =
            Button1Click(*engine, Ip(), {(dir.path() / "fw.bin").string(), "", std::nullopt}, {});
        ASSERT_TRUE(done.update);
        EXPECT_EQ(done.update->result, UpdateResult::kDone);
        EXPECT_EQ(done.update->new_version, "V2.2");
        EXPECT_EQ(done.data_write, DataWriteResult::kWritten);
        EXPECT_EQ(
            Messages(),
            Lines{"information OK The updating is complete,The target device's firmware version is V2.2"});

        const fs::path backup = done.update->backup_path;
        EXPECT_EQ(backup.parent_path(), dir.path() / "imgfile");
        EXPECT_EQ(backup.extension(), c.backup_extension);
        const auto saved = ReadBytes(backup);
        EXPECT_EQ(saved, std::vector<uint8_t>(data_before.begin(), data_before.begin() + c.backup_size));

        const vksim::Device after = Device();
        EXPECT_EQ(after.firmware, "V2.2");
        std::vector<uint8_t> expected_firmware = BodyOf(image);
        expected_firmware.resize(after.update.firmware.size(), 0);  // blocks filled up with zeros
        EXPECT_EQ(after.update.firmware, expected_firmware);
        EXPECT_EQ(std::vector<uint8_t>(after.update.data.begin(), after.update.data.begin() + c.restored),
                  std::vector<uint8_t>(saved.begin(), saved.begin() + c.restored));
        EXPECT_EQ(ui.Lines("progress.close").size(), 2u) << "closed after the update and after the write";
    }
}

TEST_F(UpdateOverUdp, ProgressShowsTheLabelsAndClosesAtTheEnd) {
    StartDevice("model=VKA100");
    auto engine = Engine();
    engine->DoUpdate(Ip(), {Image(RecipeFor("VKA100", 512)), "", std::nullopt});
    Lines progress;
    for (const auto& e : ui.events) {
        if (e.rfind("progress.show", 0) == 0 || e.rfind("progress.label", 0) == 0 || e == "progress.close")
            progress.push_back(e);
    }
    EXPECT_EQ(progress, (Lines{"progress.show Save the device param...",
                               "progress.label Updating,Pleas wait...", "progress.close"}));
    const Lines positions = ui.Lines("progress.position ");
    EXPECT_EQ(positions.back(), "0") << "the first poll";
    EXPECT_NE(std::find(positions.begin(), positions.end(), "100"), positions.end());
}

// Four lost answers spread over the write do not stop it; a fifth does, though no block failed twice.
TEST_F(UpdateOverUdp, TheFifthFailureOfAPhaseEndsItWhetherConsecutiveOrNot) {
    struct Case {
        const char* words;
        UpdateResult result;
        Lines messages;
    };
    const Case cases[] = {
        {"model=VKA100 lose_write=3/11/42/44", UpdateResult::kDone, {}},
        {"model=VKA100 lose_write=3/11/42/44/94",
         UpdateResult::kInterrupted,
         {"error OK The updating process is fault,the device may be offline."}},
        {"model=VKA100 refuse_write=2/3/4/5/6",
         UpdateResult::kInterrupted,
         {"error OK The updating is fault,Maybe the firmware file is damage!"}},
        {"model=VKB220 refuse_write=1/2/3/4/5",
         UpdateResult::kInterrupted,
         {"error OK The updating procces is fault,Maybe the firmware file is damage."}},
        {"model=VKB220 refuse_write=3/4/5/6/7",
         UpdateResult::kInterrupted,  // block 0, sent last
         {"error OK The updating is fault,Maybe the device is offline."}},
        {"model=VKB200 echo_write=2", UpdateResult::kDone, {}},
        {"model=VKB200 echo_write=1/2/3/4/5",
         UpdateResult::kInterrupted,
         {"error OK The updating is fault,Maybe the device is offline."}},
        {"model=VKB200 flip_at=700",
         UpdateResult::kInterrupted,
         {"error OK The data is damage,The updating process must be done again."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        ui.events.clear();
        StartDevice(c.words);
        const std::string model = Device().model->name;
        auto engine = Engine();
        const auto out = engine->DoUpdate(
            Ip(), {Image(RecipeFor(model, model == "VKB220" ? 3000 : 40000)), "", std::nullopt});
        EXPECT_EQ(out.result, c.result);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_TRUE(fs::exists(out.backup_path)) << "the path of the saved backup is reported";
    }
}

TEST_F(UpdateOverUdp, ADeviceSilentAfterItsRestartEndsWithTheBackupPath) {
    for (const char* model : {"VKA100", "VKB200"}) {
        SCOPED_TRACE(model);
        ui.events.clear();
        StartDevice(std::string("model=") + model + " silent_after_restart=1");
        auto engine = Engine();
        const auto done = Button1Click(*engine, Ip(), {Image(RecipeFor(model, 2000)), "", std::nullopt}, {});
        EXPECT_EQ(done.update->result, UpdateResult::kInterrupted);
        EXPECT_FALSE(done.data_write);
        const std::string last = "error OK The updating is fault,the device's data is save in\r\n" +
                                 done.update->backup_path + "Pleas restore the data manually";
        if (std::string(model) == "VKA100") {
            EXPECT_EQ(Messages(), Lines{last});
        } else {
            EXPECT_EQ(Messages(), (Lines{"error OK The updating process is fault,You neet to power down the "
                                         "device,and power on again.",
                                         last}));
        }
        if (std::string(model) == "VKA100") {
            EXPECT_EQ(CountOf("FA FA"), 16u) << "identify and 15 polls";
        } else {
            EXPECT_EQ(CountOf("FA 00"), 15u) << "15 polls";
        }
    }
}

TEST_F(UpdateOverUdp, DamagedDataIsToldAndTheUpdateGoesOnWithTheBytesReadSoFar) {
    StartDevice("model=VKA100 damaged_at=1280");
    const std::vector<uint8_t> data = Device().update.data;
    auto engine = Engine();
    const auto out = engine->DoUpdate(Ip(), {Image(RecipeFor("VKA100", 1000)), "", std::nullopt});
    EXPECT_EQ(out.result, UpdateResult::kDone);
    EXPECT_EQ(Messages(), Lines{"error OK The struct of param is damage,press 'yes' to  continue."});
    std::vector<uint8_t> expected(data.begin(), data.begin() + 1280);
    expected.resize(30208, 0);
    EXPECT_EQ(ReadBytes(out.backup_path), expected);
}

// Refusals before the backup: the device keeps its firmware and nothing of the firmware goes out.
TEST_F(UpdateOverUdp, RefusalsBeforeTheBackupLeaveTheDeviceUnchanged) {
    struct Case {
        const char* words;
        const char* minimum_version;
        const char* target_model;
        const char* message;
    };
    const Case cases[] = {
        {"model=VKA100 update_model=VKA100", "V1.0", "VKA100-S",
         "information OK The target device do not support updating,process is abort!"},
        {"model=VKA100 firmware=V1.10", "1.2", "VKA100-S",
         "information OK The version of target device is to low,Updating process is abort!"},
        {"model=VKB220", "V1.0", "VKB301",
         "information OK The target device don't support updating,The updating process is abort."},
        {"model=VKB220 firmware=V2.1", "V2.11", "VKB220",
         "information OK The version of target device is too low,The updating process is abort."},
        {"model=VKB220 n4=1000", "V1.0", "VKB220",
         "error OK The device reports a data size that cannot be saved (N4 = 1000),the updating process is "
         "abort."},
        {"model=VKB220 n4=263169", "V1.0", "VKB220",
         "error OK The device reports a data size that cannot be saved (N4 = 263169),the updating process is "
         "abort."},
        {"model=VKA100 lose_read=1/2/3/4/5", "V1.0", "VKA100-S",
         "error OK The updating process is fault,the device may be offline."},
        {"model=VKA100 refuse_prepare=1", "V1.0", "VKA100-S",
         "error OK Param Backup is fault,process is abort!"},
        {"model=VKB200 lose_read=2/4/6/8/10", "V1.0", "VKB200",
         "error OK The updating is fault,Maybe the device is offline."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        ui.events.clear();
        StartDevice(c.words);
        ImageRecipe recipe = RecipeFor(Device().model->name, 2000);
        recipe.minimum_version = c.minimum_version;
        recipe.target_model = c.target_model;
        auto engine = Engine();
        const auto out = engine->DoUpdate(Ip(), {Image(recipe), "", std::nullopt});
        EXPECT_EQ(out.result, UpdateResult::kUnchanged);
        EXPECT_EQ(out.backup_path, "");
        EXPECT_EQ(Messages(), Lines{c.message});
        EXPECT_EQ(CountOf("FA F8") + CountOf("F8 00"), 0u);
        EXPECT_TRUE(fs::is_empty(dir.path() / "imgfile"));
    }
}

// The image is checked before the login: a refused image reaches no device at all.
TEST_F(UpdateOverUdp, ImageRefusalsSendNothingAtAll) {
    StartDevice("model=VKB220");
    auto engine = Engine();
    const auto out = engine->DoUpdate(Ip(), {Image(RecipeFor("VKA100", 2000)), "", std::nullopt});
    EXPECT_EQ(out.result, UpdateResult::kUnchanged);
    EXPECT_EQ(Messages(), Lines{"error OK The format of firmware is error,the updating Process is abort."});
    EXPECT_TRUE(net->Requests().empty());
    EXPECT_FALSE(fs::exists(dir.path() / "updatevkafile.txt"))
        << "paths are remembered only after the checks";
}

TEST_F(UpdateOverUdp, ALoginRefusedTwiceEndsWithResultFourAndNoUpdateDatagram) {
    StartDevice("model=VKB301 refuse_password=1");
    auto engine = Engine();
    ui.credential_answers = {{"admin", "secret"}};
    const auto out = engine->DoUpdate(Ip(), {Image(RecipeFor("VKB301", 2000)), "", std::nullopt});
    EXPECT_EQ(out.result, UpdateResult::kLoginFailed);
    EXPECT_EQ(ui.events,
              (Lines{"login 127.0.0.20", "message error OK The username or password is invalid."}));
    EXPECT_EQ(UpdateRequests(), Lines{});
    EXPECT_EQ(std::string(engine->login_record().user_name), "admin") << "the dialog's texts stay";

    ui.events.clear();
    EXPECT_EQ(engine->WriteDataFile(Ip(), Image(RecipeFor("VKB301", 10))), DataWriteResult::kLoginRefused);
    EXPECT_EQ(UpdateRequests(), Lines{});
}

TEST_F(UpdateOverUdp, ABackupThatCannotBeWrittenStopsTheUpdateBeforeAnyFirmwareBlock) {
    StartDevice("model=VKB220");
    auto engine = Engine();
    const std::string image = Image(RecipeFor("VKB220", 3000));
    const fs::path folder = dir.path() / "imgfile";
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    UpdateOutcome out;
    const std::string skip = RunWithoutFilePrivilege([&] {
        out = engine->DoUpdate(Ip(), {image, "", std::nullopt});
    });
    fs::permissions(folder, fs::perms::owner_all);
    if (!skip.empty()) GTEST_SKIP() << skip;
    EXPECT_EQ(out.result, UpdateResult::kUnchanged);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find((folder / "").string()), std::string::npos) << Messages()[0];
    EXPECT_NE(Messages()[0].find("Permission denied"), std::string::npos) << Messages()[0];
    EXPECT_EQ(CountOf("FA F8"), 0u);
    EXPECT_EQ(Device().firmware, "V2.1");
}

TEST_F(UpdateOverUdp, TwoUpdatesInOneSecondKeepBothBackups) {
    StartDevice("model=VKB220");
    clock_runs = false;
    clock.tm_year = 124, clock.tm_mon = 4, clock.tm_mday = 6, clock.tm_hour = 7, clock.tm_min = 8,
    clock.tm_sec = 9;
    auto engine = Engine();
    const std::string image = Image(RecipeFor("VKB220", 1000));
    const auto first = engine->DoUpdate(Ip(), {image, "", std::nullopt});
    const auto second = engine->DoUpdate(Ip(), {image, "", std::nullopt});
    EXPECT_EQ(fs::path(first.backup_path).filename(), "20240506070809.vka");
    EXPECT_EQ(fs::path(second.backup_path).filename(), "20240506070809-2.vka");
    EXPECT_NE(ReadBytes(first.backup_path), ReadBytes(second.backup_path))
        << "the second update saved the data area its first restart erased";
}

TEST_F(UpdateOverUdp, DataWritesRefuseFilesTooLargeAndSendNothingForAnEmptyOne) {
    struct Case {
        const char* model;
        size_t size;
        DataWriteResult result;
        Lines messages;
        bool logs_in = true;  // false: refused before anything reaches the device
    };
    const Case cases[] = {
        {"VKA100", 32768, DataWriteResult::kWritten, {}},
        {"VKA100",
         32769,
         DataWriteResult::kRefusedFile,
         {"error Yes " + Utf8ToDeviceText("下载文件长度过长，无法下载。").bytes}},
        {"VKB200", 65535, DataWriteResult::kWritten, {}},
        {"VKB200",
         65536,
         DataWriteResult::kRefusedFile,
         {"error OK The file is longer than 65535 bytes and cannot be written,Process is abort."},
         false},
        {"VKB220",
         262145,
         DataWriteResult::kRefusedFile,
         {"error Yes The size of file is too large,Updating is abort."}},
        {"VKB220", 0, DataWriteResult::kWritten, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + std::to_string(c.size));
        ui.events.clear();
        StartDevice(std::string("model=") + c.model);
        auto engine = Engine();
        const auto path = dir.path() / "data.bin";
        WriteBytes(path, std::vector<uint8_t>(c.size, 0x42));
        EXPECT_EQ(engine->WriteDataFile(Ip(), path.string()), c.result);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(ui.Lines("progress.show").size(), c.logs_in ? 1u : 0u);
        EXPECT_EQ(ui.Lines("progress.close").size(), c.logs_in ? 1u : 0u);
        if (!c.logs_in) {
            EXPECT_TRUE(net->Requests().empty()) << "not even a login";
        }
        if (c.result != DataWriteResult::kWritten || c.size == 0) {
            EXPECT_EQ(CountOf("FA F6") + CountOf("F8 00"), 0u);
        }
    }
}

// With both options the WEB file replaces the backup's write-back: a WEB file that variant B's data
// write cannot take stops the button before the update, not after it erased the data area.
TEST_F(UpdateOverUdp, AWebFileTooLongForVariantBStopsTheButtonBeforeTheUpdate) {
    StartDevice("model=VKB200");
    auto engine = Engine();
    const auto web = dir.path() / "web.bin";
    WriteBytes(web, std::vector<uint8_t>(65536, 0x42));
    const auto done = Button1Click(
        *engine, Ip(), {Image(RecipeFor("VKB200", 1000)), web.string(), std::nullopt}, {true, true});
    EXPECT_FALSE(done.update);
    EXPECT_FALSE(done.data_write);
    EXPECT_EQ(Messages(),
              Lines{"error OK The file is longer than 65535 bytes and cannot be written,Process is abort."});
    EXPECT_TRUE(net->Requests().empty());
}

TEST_F(UpdateOverUdp, ASecondStartWhileAnExchangeRunsIsRefused) {
    StartDevice("model=VKB220");
    auto engine = Engine();
    const std::string image = Image(RecipeFor("VKB220", 3000));
    std::optional<UpdateOutcome> nested;
    ui.during_messages = [&] {
        if (!nested) nested = engine->DoUpdate(Ip(), {image, "", std::nullopt});
    };
    const auto out = engine->DoUpdate(Ip(), {image, "", std::nullopt});
    EXPECT_EQ(out.result, UpdateResult::kDone);
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->result, UpdateResult::kUnchanged);
    EXPECT_EQ(Messages(), Lines{"information OK An updating process is running,please wait until it ends."});
}

TEST_F(UpdateOverUdp, TheWindowsIdentifyNeedsThirtyThreeBytes) {
    StartDevice("model=VKB220");
    auto engine = Engine();
    const auto id = engine->AskIdentity(Ip());
    ASSERT_TRUE(id);
    EXPECT_EQ(id->model, "VKB220");
    EXPECT_EQ(id->version, "V2.1");
    EXPECT_FALSE(engine->AskIdentity("127.0.0.99")) << "nothing answers there";
}

}  // namespace
}  // namespace torvane::test
