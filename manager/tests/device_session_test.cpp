// The device session against the scripted library: the empty login first, the credential question on
// a refusal, the logout after a refusal that stands, the reads and writes of both block kinds, and the
// second login of the write with the texts the first one ended with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/device_session.h"
#include "support/recording_ui.h"
#include "support/scripted_library.h"

namespace torvane {
namespace {

using Calls = std::vector<std::string>;

class DeviceSessionTest : public ::testing::Test {
  protected:
    test::ScriptedLibrary library;
    test::RecordingUi ui;
    ParamBuffer buffer{};

    DeviceSession Session(uint8_t model_code, std::string ip = "10.0.0.7",
                          std::optional<Credentials> given = std::nullopt) {
        return DeviceSession(library, ui,
                             {model_code, {0, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, std::move(ip), "dev"},
                             std::move(given));
    }
    // "vk_login user/password" for logins, the function name for the other calls.
    Calls CallLines() const {
        Calls out;
        for (const auto& c : library.calls())
            out.push_back(c.function == "vk_login" ? c.function + " " + c.user_name + "/" + c.password
                                                   : c.function);
        return out;
    }
};

TEST_F(DeviceSessionTest, LoginAsksOnlyWhenTheEmptyLoginIsRefused) {
    struct Case {
        const char* name;
        std::vector<int> logins;
        std::vector<Credentials> typed;
        int result;
        Calls calls;
        std::vector<std::string> asked;
    };
    const Case cases[] = {
        {"accepted at once", {VK_OK}, {}, VK_OK, {"vk_login /"}, {}},
        {"refused, then the typed texts accepted",
         {VK_ERR_PASSWORD, VK_OK},
         {{"admin", "s3cret"}},
         VK_OK,
         {"vk_login /", "vk_login admin/s3cret"},
         {"login dev"}},
        {"refused twice: logout",
         {VK_ERR_PASSWORD, VK_ERR_PASSWORD},
         {{"admin", "guess"}},
         VK_ERR_PASSWORD,
         {"vk_login /", "vk_login admin/guess", "vk_logout"},
         {"login dev"}},
        {"refused and nobody to ask: logout",
         {VK_ERR_PASSWORD},
         {},
         VK_ERR_PASSWORD,
         {"vk_login /", "vk_logout"},
         {"login dev"}},
        {"no answer: no question, no logout", {VK_ERR_NO_ANSWER}, {}, VK_ERR_NO_ANSWER, {"vk_login /"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        library = test::ScriptedLibrary();
        ui = test::RecordingUi();
        library.ScriptLogins(c.logins);
        ui.credential_answers.assign(c.typed.begin(), c.typed.end());
        DeviceSession session = Session(VK_MODEL_VKB200);
        EXPECT_EQ(session.LogIn(), c.result);
        EXPECT_EQ(CallLines(), c.calls);
        EXPECT_EQ(ui.Lines(""), c.asked);
        EXPECT_EQ(session.open(), c.result == VK_OK);
        EXPECT_EQ(session.asked(), !c.typed.empty());
    }
}

TEST_F(DeviceSessionTest, GivenCredentialsAreUsedAsTheyAreAndNeverAsked) {
    library.ScriptLogins({VK_ERR_PASSWORD});
    ui.credential_answers.push_back({"admin", "other"});
    DeviceSession session = Session(VK_MODEL_VKB302, "10.0.0.7", Credentials{"op", "pw"});
    EXPECT_EQ(session.LogIn(), VK_ERR_PASSWORD);
    EXPECT_EQ(CallLines(), (Calls{"vk_login op/pw", "vk_logout"}));
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(DeviceSessionTest, TheWriteLogsInAgainWithTheTypedTextsWithoutAsking) {
    library.ScriptLogins({VK_ERR_PASSWORD, VK_OK});
    ui.credential_answers.push_back({"admin", "typed"});
    DeviceSession session = Session(VK_MODEL_VKA100, "");
    ASSERT_EQ(session.LogIn(), VK_OK);
    ASSERT_EQ(session.Read(buffer), VK_OK);
    EXPECT_FALSE(session.open());  // a first-generation read ends the device's session itself
    session.LogOut();
    EXPECT_EQ(session.LogInAgain(), VK_OK);
    EXPECT_EQ(session.Write(buffer), VK_OK);
    session.LogOut();
    EXPECT_EQ(CallLines(), (Calls{"vk_login /", "vk_login admin/typed", "vk_read_setting", "vk_logout",
                                  "vk_login admin/typed", "vk_write_setting", "vk_logout"}));
    EXPECT_EQ(ui.Lines("login "), (std::vector<std::string>{"dev"}));
    for (const auto& c : library.calls()) {
        EXPECT_EQ(c.ip, "");  // by broadcast, named by the MAC
        EXPECT_EQ(c.mac, "0.26.43.60.77.94");
        EXPECT_EQ(c.model_code, VK_MODEL_VKA100);
    }
}

TEST_F(DeviceSessionTest, ReadsFillTheZeroedBufferAndWritesSendTheBlock) {
    struct Case {
        uint8_t model_code;
        const char* read;
        const char* write;
        size_t written;  // bytes the write hands over
    };
    const Case cases[] = {
        {VK_MODEL_VKB200, "vk_read_setting", "vk_write_setting", sizeof(VkParamRecord)},
        {VK_MODEL_VKB304, "vk_read_setting", "vk_write_setting", sizeof(VkParamRecord)},
        {VK_MODEL_EXTENDED, "vk_read_setting_ex", "vk_write_setting_ex", VK_EX_PARAM_SIZE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.read);
        library = test::ScriptedLibrary();
        library.ScriptRead(VK_OK, {c.model_code, 'a', 'b', 'c'});
        buffer.fill(0xEE);  // what a previous session left
        DeviceSession session = Session(c.model_code);
        ASSERT_EQ(session.LogIn(), VK_OK);
        ASSERT_EQ(session.Read(buffer), VK_OK);
        EXPECT_TRUE(library.calls().back().area_clear) << "the library got the buffer uncleared";
        EXPECT_EQ(buffer[0], c.model_code);
        EXPECT_EQ(buffer[3], 'c');
        EXPECT_EQ(buffer[4], 0);
        EXPECT_EQ(buffer[kParamBufferSize - 1], 0);
        EXPECT_TRUE(session.open());

        buffer[1] = 'Z';
        ASSERT_EQ(session.Write(buffer), VK_OK);
        EXPECT_EQ(library.calls().back().function, c.write);
        ASSERT_EQ(library.written().size(), c.written);
        EXPECT_EQ(library.written()[1], 'Z');
    }
}

TEST_F(DeviceSessionTest, AFailedReadAndARefusedWriteAreHandedBack) {
    DeviceSession session = Session(VK_MODEL_VKB200);
    ASSERT_EQ(session.LogIn(), VK_OK);
    library.ScriptRead(VK_ERR_NO_ANSWER, {0x10, 1, 2});
    buffer.fill(0xEE);
    EXPECT_EQ(session.Read(buffer), VK_ERR_NO_ANSWER);
    EXPECT_EQ(buffer[1], 0);  // the buffer is cleared, and nothing of the failed read reaches it
    library.ScriptWrite(VK_ERR_UNEXPECTED);
    EXPECT_EQ(session.Write(buffer), VK_ERR_UNEXPECTED);
}

}  // namespace
}  // namespace torvane
