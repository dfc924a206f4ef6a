// The device session against the scripted library and the recording UI: one timeline of library calls,
// ARP entries, dialogs, windows, boxes and log lines, compared with what the operator must see.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/params/param_session.h"
#include "support/noting_library.h"
#include "support/recording_ui.h"
#include "support/scripted_library.h"

namespace torvane {
namespace {

using Lines = std::vector<std::string>;
using test::RecordingUi;
using test::ScriptedLibrary;

const MacBytes kMac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
const std::vector<std::string> kNames{"UDP", "TCP", "REAL_COM"};

class NotingArp final : public ArpPort {
  public:
    explicit NotingArp(Lines& timeline) : timeline_(timeline) {}
    void SetArpEntry(const std::string& ip, const std::string& mac) override {
        timeline_.push_back("arp set " + ip + " " + mac);
    }
    void DeleteArpEntries(const std::string& ip) override { timeline_.push_back("arp delete " + ip); }

  private:
    Lines& timeline_;
};

DeviceRow Row(uint8_t model, const char* location, int image = kImageInSubnet) {
    DeviceRow row;
    row.caption = kOnline;
    row.sub = {MacToText(kMac), "10.0.0.7", "dev", "V1", location};
    row.image = image;
    if (model == VK_MODEL_EXTENDED) {
        VkSearchRecordEx r = test::ExtendedSlot(model, kMac, {10, 0, 0, 7}, "dev", "V1");
        const uint8_t gateway[4] = {10, 0, 0, 1};
        std::memcpy(r.gateway, gateway, 4);
        row.param->DeviceRecord = RecordBytes(r);
    } else {
        VkSearchRecord r = test::StandardRecord(model, kMac, "10.0.0.7", "dev", "V1");
        std::strcpy(r.gateway, "10.0.0.1");
        row.param->DeviceRecord = RecordBytes(r);
    }
    return row;
}

std::vector<uint8_t> StandardBlock(uint8_t model = VK_MODEL_VKB220) {
    std::vector<uint8_t> block(sizeof(VkParamRecord), 0);
    auto& p = *reinterpret_cast<VkParamSinglePort*>(block.data());
    p.model_code = model;
    std::strcpy(p.device_name, "dev");
    std::strcpy(p.ip, "10.0.0.7");
    std::strcpy(p.netmask, "255.0.0.0");
    std::strcpy(p.gateway, "10.0.0.1");
    std::strcpy(p.peer_ip, "10.0.0.2");
    std::strcpy(p.dns1, "10.0.0.3");
    std::strcpy(p.dns2, "10.0.0.4");
    p.local_port = 4001;
    p.baud_rate = 9600;
    p.data_bits = 8;
    p.stop_bits = 1;
    p.protocol = 1;
    std::memcpy(p.mac, kMac.data(), 6);
    return block;
}

std::vector<uint8_t> ExtendedBlock() {
    std::vector<uint8_t> block(VK_EX_PARAM_SIZE, 0);
    block[0] = VK_MODEL_EXTENDED;
    std::strcpy(reinterpret_cast<char*>(&block[84]), "clock");
    block[188] = 8;  // data bits and stop bits of the channel and of the time source
    block[190] = 1;
    block[226] = 8;
    block[228] = 1;
    for (size_t i = 406; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i);
    return block;
}

class ParamSessionTest : public ::testing::Test {
  protected:
    ScriptedLibrary scripted;
    RecordingUi ui;
    test::NotingLibrary library{scripted, [this](const std::string& line) { ui.events.push_back(line); }};
    NotingArp arp{ui.events};
    ParamSession session{
        library,
        ui,
        arp,
        kNames,
        {[this](std::chrono::milliseconds ms) { ui.events.push_back("pause " + std::to_string(ms.count())); },
         [this] { ui.events.push_back("search pass"); }}};

    void SetUp() override { setenv("VKCFG_BROADCAST", "127.255.255.255", 1); }

    void Open(const DeviceRow& row) { session.ListView1DblClick(&row); }
    // The operator presses the modify button after `edit`.
    void ModifyWith(std::function<void(ParamSheet&)> edit = {}) {
        ui.in_param_window = [edit](ParamSheet& sheet, std::span<uint8_t> block) {
            if (edit) edit(sheet);
            ASSERT_EQ(sheet.Modity(block), std::nullopt);
        };
    }
    const test::LibraryCall& Call(const std::string& function, size_t nth = 0) const {
        for (const auto& c : scripted.calls()) {
            if (c.function == function && nth-- == 0) return c;
        }
        throw std::runtime_error("no call " + function);
    }
};

const std::string kArpSet = "arp set 127.255.255.255 00-1A-2B-3C-4D-5E";
const std::string kArpDelete = "arp delete 127.255.255.255";

TEST_F(ParamSessionTest, EmptyCredentialsAcceptedReadWithTheArpEntryThenTheWindow) {
    scripted.ScriptRead(VK_OK, StandardBlock());
    Open(Row(VK_MODEL_VKB220, kLocationLocal));
    EXPECT_EQ(ui.events,
              (Lines{kArpSet, "vk_login ", "vk_read_setting ", "vk_logout ", kArpDelete, "window Setting"}));
    const auto& read = Call("vk_read_setting");
    EXPECT_TRUE(read.area_clear) << "the buffer is zero-filled before the read";
    EXPECT_EQ(read.mac, MacToText(kMac));
    EXPECT_EQ(read.model_code, VK_MODEL_VKB220);
}

TEST_F(ParamSessionTest, RefusedThenAcceptedProceedsAndTheWriteReusesTheTypedTexts) {
    scripted.ScriptLogins({VK_ERR_PASSWORD, VK_OK});
    scripted.ScriptRead(VK_OK, StandardBlock());
    ui.credential_answers.push_back(Credentials{"admin", "7391"});
    ModifyWith();
    Open(Row(VK_MODEL_VKB220, kLocationAddressBook));
    EXPECT_EQ(ui.events,
              (Lines{kArpSet, "vk_login 10.0.0.7", "login 10.0.0.7", "vk_login 10.0.0.7",
                     "vk_read_setting 10.0.0.7", "vk_logout 10.0.0.7", kArpDelete, "window Setting",
                     "vk_login 10.0.0.7", "vk_write_setting 10.0.0.7", "vk_logout 10.0.0.7",
                     "log Modify 10.0.0.7 param successful!", "pause 500", "search pass"}));
    EXPECT_EQ(Call("vk_write_setting").user_name, "admin");
    EXPECT_EQ(Call("vk_write_setting").password, "7391");
}

TEST_F(ParamSessionTest, RefusedTwiceLogsOutRemovesTheArpEntryAndSaysSo) {
    scripted.ScriptLogins({VK_ERR_PASSWORD, VK_ERR_PASSWORD});
    ui.credential_answers.push_back(Credentials{"admin", "wrong"});
    Open(Row(VK_MODEL_VKA100, kLocationAddressBook, kImageBookOnline));
    EXPECT_EQ(ui.events,
              (Lines{kArpSet, "vk_login 10.0.0.7", "login 10.0.0.7", "vk_login 10.0.0.7",
                     "vk_logout 10.0.0.7", kArpDelete, "message error OK UserName or Password error!"}));
}

TEST_F(ParamSessionTest, ALoginDialogAnsweredWithNothingEndsAsARefusal) {
    scripted.ScriptLogins({VK_ERR_PASSWORD, VK_OK});
    Open(Row(VK_MODEL_EXTENDED, kLocationLocal));
    EXPECT_EQ(ui.events, (Lines{"vk_login ", "login 10.0.0.7", "vk_logout ",
                                "message error OK UserName or Password error!"}));
}

TEST_F(ParamSessionTest, FailuresEndTheSessionSilentlyAfterTheLogoutAndTheArpDeletion) {
    const struct {
        int login, read;
        Lines timeline;
    } cases[] = {
        {VK_ERR_NO_ANSWER, VK_OK, {kArpSet, "vk_login ", "vk_logout ", kArpDelete}},
        {VK_OK, VK_ERR_UNEXPECTED, {kArpSet, "vk_login ", "vk_read_setting ", "vk_logout ", kArpDelete}},
        {VK_OK, VK_ERR_ARGUMENT, {kArpSet, "vk_login ", "vk_read_setting ", "vk_logout ", kArpDelete}},
    };
    for (const auto& c : cases) {
        ui.events.clear();
        scripted.ScriptLogins({c.login});
        scripted.ScriptRead(c.read, StandardBlock());
        Open(Row(VK_MODEL_VKB220, kLocationLocal));
        EXPECT_EQ(ui.events, c.timeline) << c.login << " " << c.read;
    }
}

TEST_F(ParamSessionTest, OfflineRowsAndNoSelectionTouchNoDevice) {
    session.ListView1DblClick(nullptr);
    EXPECT_TRUE(ui.events.empty());
    for (uint8_t model : {VK_MODEL_VKB220, VK_MODEL_EXTENDED}) {
        ui.events.clear();
        Open(Row(model, kLocationAddressBook, kImageBookOffline));
        EXPECT_EQ(ui.events,
                  (Lines{"message error OK Device is Offline,Unable to get the information of device."}));
    }
}

TEST_F(ParamSessionTest, AStandardPathReadOfAnotherModelSaysTheDeviceWasNotFound) {
    scripted.ScriptRead(VK_OK, StandardBlock(0x31));
    Open(Row(0x31, kLocationAddressBook));
    ASSERT_FALSE(ui.events.empty());
    EXPECT_EQ(ui.events.back(),
              "message information OK The Device can't finded,Please Search again.Error code is 1");
}

TEST_F(ParamSessionTest, TheExtendedDeviceGetsNoArpEntryItsMacFromOffset52AndA438ByteWrite) {
    scripted.ScriptRead(VK_OK, ExtendedBlock());
    ui.in_ex_param_window = [](ExParamSheet& sheet, std::span<uint8_t> block) {
        EXPECT_EQ(sheet.Text(ExParamSheet::kSystemInformation, "GatewayIP"), "10.0.0.1");
        EXPECT_EQ(sheet.Text(ExParamSheet::kDeviceInformation, "Device Name"), "clock");
        ASSERT_EQ(sheet.Modify(block), std::nullopt);
    };
    Open(Row(VK_MODEL_EXTENDED, kLocationLocal));
    EXPECT_EQ(ui.events, (Lines{"vk_login ", "vk_read_setting_ex ", "vk_logout ", "window Setting - VMS450",
                                "vk_login ", "vk_write_setting_ex ", "vk_logout ",
                                "log Modify 10.0.0.7 param successful!", "pause 500", "search pass"}));
    EXPECT_EQ(Call("vk_read_setting_ex").mac, MacToText(kMac));
    EXPECT_TRUE(Call("vk_read_setting_ex").area_clear);
    EXPECT_EQ(Call("vk_write_setting_ex").capacity, 438);
    EXPECT_EQ(scripted.written(), ExtendedBlock()) << "unchanged rows write the block as read";
}

TEST_F(ParamSessionTest, ModifyWithoutChangesWritesTheWholeBlockAsRead) {
    scripted.ScriptRead(VK_OK, StandardBlock());
    ModifyWith();
    Open(Row(VK_MODEL_VKB220, kLocationLocal));
    EXPECT_EQ(scripted.written(), StandardBlock());
    EXPECT_EQ(Call("vk_write_setting").mac, MacToText(kMac));
}

TEST_F(ParamSessionTest, EditsInTheWindowReachTheWrite) {
    scripted.ScriptRead(VK_OK, StandardBlock());
    ModifyWith([](ParamSheet& sheet) {
        sheet.sheet().SetText({ParamSheet::kDevice, "Device Name"}, "renamed");
        sheet.sheet().SetText({ParamSheet::kSerial, "Baudrate"}, "115200 bps");
    });
    Open(Row(VK_MODEL_VKB220, kLocationLocal));
    const auto* written = reinterpret_cast<const VkParamSinglePort*>(scripted.written().data());
    EXPECT_STREQ(written->device_name, "renamed");
    EXPECT_EQ(written->baud_rate, 115200u);
}

TEST_F(ParamSessionTest, CancelWritesNothing) {
    scripted.ScriptRead(VK_OK, StandardBlock());
    ui.in_param_window = [](ParamSheet& sheet, std::span<uint8_t>) { sheet.Cancel(); };
    Open(Row(VK_MODEL_VKB220, kLocationLocal));
    EXPECT_EQ(ui.events.back(), "window Setting");
}

TEST_F(ParamSessionTest, WriteResultsHaveTheirLogLinesAndOnlySuccessRefreshes) {
    const struct {
        int result;
        Lines tail;
    } cases[] = {
        {VK_OK, {"log Modify 10.0.0.7 param successful!", "pause 500", "search pass"}},
        {VK_ERR_UNEXPECTED, {"log Modify 10.0.0.7 param fault,Confirm the protect switch is off"}},
        {VK_ERR_NO_ANSWER, {"log Modify 10.0.0.7 param fault,the error code is -3"}},
        {VK_ERR_ARGUMENT, {"log Modify 10.0.0.7 param fault,the error code is -5"}},
    };
    for (const auto& c : cases) {
        ui.events.clear();
        scripted.ScriptRead(VK_OK, StandardBlock());
        scripted.ScriptWrite(c.result);
        scripted.ScriptLogins({VK_OK, VK_ERR_NO_ANSWER});  // the write's login result is not looked at
        ModifyWith();
        Open(Row(VK_MODEL_VKB220, kLocationLocal));  // the log names the row's address, also for "Local"
        const Lines tail(ui.events.end() - static_cast<long>(c.tail.size()), ui.events.end());
        EXPECT_EQ(tail, c.tail) << c.result;
        EXPECT_EQ(std::count(ui.events.begin(), ui.events.end(), kArpSet), 1) << "no ARP entry for the write";
    }
}

TEST_F(ParamSessionTest, TheArpEntryFollowsTheLibrarysBroadcastAddress) {
    const struct {
        const char* env;  // nullptr: not set
        Lines timeline;
    } cases[] = {
        {"127.255.255.255", {kArpSet, "vk_login ", "vk_logout ", kArpDelete}},
        {nullptr,
         {"arp set 255.255.255.255 00-1A-2B-3C-4D-5E", "vk_login ", "vk_logout ",
          "arp delete 255.255.255.255"}},
        {"",
         {"arp set 255.255.255.255 00-1A-2B-3C-4D-5E", "vk_login ", "vk_logout ",
          "arp delete 255.255.255.255"}},
        {"127.0.0.300", {"vk_login ", "vk_logout "}},  // the library sends nothing then
        {"10.1.2", {"vk_login ", "vk_logout "}},
    };
    for (const auto& c : cases) {
        scripted.ScriptLogins({VK_ERR_NO_ANSWER});
        c.env ? setenv("VKCFG_BROADCAST", c.env, 1) : unsetenv("VKCFG_BROADCAST");
        ui.events.clear();
        Open(Row(VK_MODEL_VKB220, kLocationLocal));
        EXPECT_EQ(ui.events, c.timeline) << (c.env ? c.env : "unset");
    }
    setenv("VKCFG_BROADCAST", "127.255.255.255", 1);
}

}  // namespace
}  // namespace torvane
