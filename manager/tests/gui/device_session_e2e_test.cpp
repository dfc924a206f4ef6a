// The device session end to end: the main window in-process over the real library and real UDP, against
// simulated devices. The operator double-clicks a row, edits in the parameter window and presses the
// modify button; the simulated device's own state then shows exactly the fields that were changed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "device_list.h"
#include "gui/grid_typing.h"
#include "gui/gui_support.h"
#include "network.h"
#include "platform/file_writer.h"
#include "platform/net_func.h"
#include "platform/workstation_arp.h"
#include "support/sandbox.h"
#include "ui/main_form.h"
#include "ui/params/form_login.h"
#include "ui/params/para_info_form.h"
#include "ui/params/property_grid.h"

namespace torvane::test {
namespace {

using Settings = std::map<std::string, std::string>;

class NoTable final : public SharedDeviceTable {
  public:
    SharedTableSnapshot Read() override { return {}; }
};

vksim::Device Make(const char* model, size_t index, const char* password = "") {
    vksim::Device d = vksim::MakeDevice(*vksim::FindModel(std::string(model)), index);
    d.password = password;
    return d;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string out;
    for (uint8_t b : bytes)
        out += "0123456789abcdef"[b >> 4], out += "0123456789abcdef"[b & 15];
    return out;
}

// Every setting the device keeps, by name; the extended device's time-service bytes in 16-byte pieces.
Settings SettingsOf(const vksim::Device& d) {
    const vksim::Channel& c = d.channels.at(0);
    Settings s{
        {"name", d.name},
        {"ip", vksim::IpText(d.ip)},
        {"netmask", vksim::IpText(d.netmask)},
        {"gateway", vksim::IpText(d.gateway)},
        {"dns1", vksim::IpText(d.dns1)},
        {"dns2", vksim::IpText(d.dns2)},
        {"user", d.user_name},
        {"password", d.password},
        {"work_mode", std::to_string(d.work_mode)},
        {"dhcp", std::to_string(d.dhcp)},
        {"protocol", std::to_string(d.protocol)},
        {"url_switch", std::to_string(d.url_switch)},
        {"auto_dns", std::to_string(d.auto_dns)},
        {"network_mode", std::to_string(d.network_mode)},
        {"keep_alive", std::to_string(d.keep_alive)},
        {"max_interval", std::to_string(d.max_interval)},
        {"max_length", std::to_string(d.max_length)},
        {"port", std::to_string(c.local_port)},
        {"peer_ip", vksim::IpText(c.peer_ip)},
        {"peer_port", std::to_string(c.peer_port)},
        {"baud", std::to_string(c.baud_rate)},
        {"data_bits", std::to_string(c.data_bits)},
        {"parity", std::to_string(c.parity)},
        {"stop_bits", std::to_string(c.stop_bits)},
        {"flow", std::to_string(c.flow_control)},
        {"url", c.url},
    };
    for (size_t at = 0; at < d.extended_block.size(); at += 16) {
        const auto end =
            d.extended_block.begin() + static_cast<long>(std::min(at + 16, d.extended_block.size()));
        s["block@" + std::to_string(at)] = Hex({d.extended_block.begin() + static_cast<long>(at), end});
    }
    return s;
}

// The names of the settings that differ.
std::vector<std::string> Changed(const Settings& before, const Settings& after) {
    std::vector<std::string> out;
    for (const auto& [key, value] : after) {
        const auto it = before.find(key);
        if (it == before.end() || it->second != value) out.push_back(key);
    }
    return out;
}

class DeviceSessionEndToEnd : public ::testing::Test {
  protected:
    // 127.0.0.10: VKB220, 127.0.0.11: VKA100 (address book, asks for its password), 127.0.0.12: the
    // extended device, 127.0.0.13: a VKB220 that refuses every password.
    std::unique_ptr<vksim::Network> network;
    TempDir dir;
    VkcfgLibrary library;
    NoTable table;
    WorkstationArp arp;
    PlatformFileWriter files;
    std::unique_ptr<ui::TMainForm> form;

    void SetUp() override {
        std::vector<vksim::Device> devices{Make("VKB220", 0), Make("VKA100", 1, "73915026"), Make("EXT", 2),
                                           Make("VKB220", 3)};
        devices[3].faults.refuse_password = true;
        network = std::make_unique<vksim::Network>(devices);
        std::string book(66, '\0');
        book.replace(0, 10, "127.0.0.11");
        std::ofstream(dir.path() / "DevInfo.dat", std::ios::binary) << book;
        form = std::make_unique<ui::TMainForm>(
            ui::MainFormDeps{library, table, files, dir.path(), GetLocalInterfaces, {}, true, {}, &arp});
        form->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return form->StartupDone(); }, 20000));
    }

    Settings DeviceSettings(size_t index) {
        return network->WithDevice(index, [](vksim::Device& d) { return SettingsOf(d); });
    }

    // Selects the row of the address and double-clicks it; `in_window` runs in the parameter window.
    void Open(const std::string& ip, std::function<void(QDialog*)> in_window) {
        QTreeView* view = form->ListView1();
        const QAbstractItemModel* m = view->model();
        int row = -1;
        for (int r = 0; r < m->rowCount(); ++r) {
            if (m->index(r, 2).data().toString().toStdString() == ip) row = r;
        }
        ASSERT_GE(row, 0) << ip << " is not in the list";
        view->selectionModel()->select(m->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (in_window) WhenModalShown([in_window](QWidget* w) { in_window(qobject_cast<QDialog*>(w)); });
        form->ListView1DblClick();
    }

    std::string LastLogLine() const {
        const QStringList lines = form->Memo1()->toPlainText().split('\n');
        return lines.isEmpty() ? std::string() : lines.last().toStdString();
    }
};

TEST_F(DeviceSessionEndToEnd, AVkb220OfTheLocalSearchTakesANewNameAndSerialSpeed) {
    const Settings before = DeviceSettings(0);
    Open("127.0.0.10", [](QDialog* w) {
        auto* window = qobject_cast<ui::TParaInfoForm*>(w);
        ASSERT_NE(window, nullptr);
        SaveScreenshot(window, "DeviceSession-VKB220");
        Type(window->Grid(ParamSheet::kDevice), "Device Name", "Press-1");
        Type(window->Grid(ParamSheet::kSerial), "Baudrate", "19200 bps");
        QTest::mouseClick(window->ModifyButton(), Qt::LeftButton);
    });
    const Settings after = DeviceSettings(0);
    EXPECT_EQ(Changed(before, after), (std::vector<std::string>{"baud", "name"}));
    EXPECT_EQ(after.at("name"), "Press-1");
    EXPECT_EQ(after.at("baud"), "19200");
    EXPECT_EQ(LastLogLine(), "Modify 127.0.0.10 param successful!");
}

TEST_F(DeviceSessionEndToEnd, AnAddressBookVka100AsksForItsPasswordOnceAndTakesTheDialogsTexts) {
    const Settings before = DeviceSettings(1);
    int logins = 0;
    WhenModalShown([&](QWidget* w) {
        auto* login = qobject_cast<ui::TFormLogin*>(w);
        ASSERT_NE(login, nullptr) << "the login dialog comes first";
        ++logins;
        WhenModalShown([](QWidget* window) {
            auto* params = qobject_cast<ui::TParaInfoForm*>(window);
            ASSERT_NE(params, nullptr);
            Type(params->Grid(ParamSheet::kDevice), "Device Name", "Book-A");
            Type(params->Grid(ParamSheet::kSerial), "Baudrate", "38400 bps");
            QTest::mouseClick(params->ModifyButton(), Qt::LeftButton);
        });
        QTest::mouseClick(login->Button1(), Qt::LeftButton);  // "admin" / "73915026"
    });
    Open("127.0.0.11", nullptr);
    EXPECT_EQ(logins, 1) << "the write logs in with the typed texts without asking again";
    const Settings after = DeviceSettings(1);
    EXPECT_EQ(Changed(before, after), (std::vector<std::string>{"baud", "name"}));
    EXPECT_EQ(after.at("baud"), "38400");
    EXPECT_EQ(LastLogLine(), "Modify 127.0.0.11 param successful!");
}

TEST_F(DeviceSessionEndToEnd, TheExtendedDeviceTakesANameASerialSpeedAndATimeServer) {
    const Settings before = DeviceSettings(2);
    Open("127.0.0.12", [](QDialog* w) {
        auto* window = qobject_cast<ui::TParaInfoExForm*>(w);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), "Setting - VMS450");
        Type(window->Grid(ExParamSheet::kDeviceInformation), "Device Name", "Clock-2");
        Type(window->Grid(ExParamSheet::kChannel0), "Baud", "38400 bps");
        Type(window->Grid(ExParamSheet::kNtp), "TimeServer2", "time.example.org");
        QTest::mouseClick(window->ModifyButton(), Qt::LeftButton);
    });
    const Settings after = DeviceSettings(2);
    // The block's pieces that hold the name (84), the speed (176..191) and the second server (278..309).
    EXPECT_EQ(Changed(before, after),
              (std::vector<std::string>{"baud", "block@176", "block@272", "block@288", "block@80", "name"}));
    EXPECT_EQ(after.at("name"), "Clock-2");
    EXPECT_EQ(after.at("baud"), "38400");
    EXPECT_EQ(LastLogLine(), "Modify 127.0.0.12 param successful!");
}

TEST_F(DeviceSessionEndToEnd, ADeviceThatRefusesEveryPasswordAsksOnceAndReportsTheError) {
    const Settings before = DeviceSettings(3);
    int dialogs = 0;
    MessageBoxRecorder boxes;
    WhenModalShown([&](QWidget* w) {
        auto* login = qobject_cast<ui::TFormLogin*>(w);
        ASSERT_NE(login, nullptr);
        ++dialogs;
        QTest::mouseClick(login->Button1(), Qt::LeftButton);
    });
    Open("127.0.0.13", nullptr);
    EXPECT_EQ(dialogs, 1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "UserName or Password error!");
    EXPECT_EQ(DeviceSettings(3), before);
    EXPECT_FALSE(network->WithDevice(3, [](vksim::Device& d) { return d.session_open; }));
}

TEST_F(DeviceSessionEndToEnd, CancelLeavesTheDeviceAsItWas) {
    const Settings before = DeviceSettings(0);
    Open("127.0.0.10", [](QDialog* w) {
        auto* window = qobject_cast<ui::TParaInfoForm*>(w);
        ASSERT_NE(window, nullptr);
        Type(window->Grid(ParamSheet::kDevice), "Device Name", "Never");
        QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(DeviceSettings(0), before);
    EXPECT_TRUE(form->Memo1()->toPlainText().isEmpty());
}

}  // namespace
}  // namespace torvane::test
