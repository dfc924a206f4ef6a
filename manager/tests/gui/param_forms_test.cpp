// The parameter windows and the login dialog on the offscreen platform: shown from real blocks, edited
// through their editors, with their boxes, buttons and Modified; screenshots of every page.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstring>
#include <functional>
#include <optional>

#include "core/field_text.h"
#include "gui/grid_typing.h"
#include "gui/gui_support.h"
#include "ui/params/form_login.h"
#include "ui/params/para_info_form.h"
#include "ui/params/property_grid.h"
#include "ui/qt_ui_port.h"
#include "vkcfg.h"

namespace torvane::test {
namespace {

using Block = std::vector<uint8_t>;
using P = ParamSheet;
using X = ExParamSheet;

const std::vector<std::string> kNames{"UDP", "TCP", "REAL_COM"};

Block StandardBlock(uint8_t dhcp = 0) {
    Block block(VK_PARAM_BUFFER_SIZE, 0);
    VkParamSinglePort p{};
    p.model_code = VK_MODEL_VKB220;
    PutFieldText(p.user_name, sizeof p.user_name, "admin");
    PutFieldText(p.password, sizeof p.password, "1234");
    PutFieldText(p.device_name, sizeof p.device_name, "Line-4");
    PutFieldText(p.firmware_version, sizeof p.firmware_version, "V3.10");
    const uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::memcpy(p.mac, mac, 6);
    PutFieldText(p.ip, sizeof p.ip, "10.0.0.20");
    PutFieldText(p.netmask, sizeof p.netmask, "255.255.255.0");
    PutFieldText(p.gateway, sizeof p.gateway, "10.0.0.1");
    PutFieldText(p.peer_ip, sizeof p.peer_ip, "10.0.0.5");
    PutFieldText(p.dns1, sizeof p.dns1, "10.0.0.2");
    PutFieldText(p.dns2, sizeof p.dns2, "10.0.0.3");
    p.local_port = 4001;
    p.peer_port = 4002;
    p.protocol = 1;
    p.work_mode = 2;
    p.dhcp = dhcp;
    p.baud_rate = 9600;
    p.data_bits = 8;
    p.stop_bits = 1;
    p.max_length = 1000;
    p.max_interval = 10;
    std::memcpy(block.data(), &p, sizeof p);
    return block;
}

Block ExtendedBlock() {
    Block b(VK_PARAM_BUFFER_SIZE, 0);
    b[0] = VK_MODEL_EXTENDED;
    const uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x00, 0x00, 0x83};
    std::memcpy(&b[2], mac, 6);
    std::strcpy(reinterpret_cast<char*>(&b[44]), "VMS-1.0");
    std::strcpy(reinterpret_cast<char*>(&b[84]), "Clock-1");
    const uint8_t ip[4] = {10, 0, 0, 30};
    std::memcpy(&b[106], ip, 4);
    b[118] = 0x17;  // port 6006
    b[119] = 0x76;
    b[184] = 96;  // 9600 bit/s
    b[188] = 8;
    b[190] = 1;
    b[224] = 96;
    b[226] = 8;
    b[228] = 1;
    b[235] = 8;
    std::strcpy(reinterpret_cast<char*>(&b[246]), "pool.ntp.org");
    return b;
}

bool Grey(ui::TPropertyGrid* grid, const char* caption) {
    const int row = grid->GridRow(caption);
    return grid->item(row, 0)->foreground().color() == ui::kInactiveColour &&
           grid->Editor(caption)->palette().color(QPalette::Text) == ui::kInactiveColour;
}

QStringList Tabs(const QTabWidget* tabs) {
    QStringList out;
    for (int i = 0; i < tabs->count(); ++i)
        out << tabs->tabText(i);
    return out;
}

// Captions of the rows a grid shows, category rows as "# caption".
QStringList Captions(const ui::TPropertyGrid* grid) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << (grid->cellWidget(r, 1) ? "" : "# ") + grid->item(r, 0)->text();
    return out;
}

void ScreenshotEveryPage(ui::TParamFormBase& form, const QString& prefix) {
    for (int i = 0; i < form.PageControl1()->count(); ++i) {
        form.PageControl1()->setCurrentIndex(i);
        QApplication::processEvents();
        SaveScreenshot(&form, prefix + "-" + QString::number(i + 1) + "-" +
                                  form.PageControl1()->tabText(i).replace(' ', '_'));
    }
    form.PageControl1()->setCurrentIndex(0);
}

struct StandardForm {
    Block block = StandardBlock();
    ParamSheet sheet{kNames};
    ui::TParaInfoForm form{sheet, block, nullptr};
    StandardForm() {
        VkSearchRecord record{};
        PutFieldText(record.ip, sizeof record.ip, "10.0.0.20");
        PutFieldText(record.netmask, sizeof record.netmask, "255.255.255.0");
        PutFieldText(record.gateway, sizeof record.gateway, "10.0.0.1");
        sheet.FillSystemPage(RecordBytes(record), block);
        form.show();
        QApplication::setActiveWindow(&form);
    }
    ui::TPropertyGrid* Grid(P::Page page) { return form.Grid(page); }
};

TEST(TParaInfoForm, ShowsTheBlockOnFivePagesOfRowsWithTheirEditors) {
    StandardForm f;
    EXPECT_EQ(f.form.windowTitle(), "Setting");
    ExpectSystemTitle(&f.form, "Setting");
    EXPECT_EQ(Tabs(f.form.PageControl1()),
              (QStringList{"System", "Device", "Network", "Interface", "Serial"}));
    EXPECT_EQ(f.form.DefaultButton()->text(), "Default");
    EXPECT_EQ(f.form.ModifyButton()->text(), "Modity");
    EXPECT_EQ(f.form.CancelButton()->text(), "Cancel");
    EXPECT_LT(f.form.DefaultButton()->x(), f.form.ModifyButton()->x());
    EXPECT_LT(f.form.ModifyButton()->x(), f.form.CancelButton()->x());
    EXPECT_EQ(f.form.PageControl1()->currentIndex(), 0);

    EXPECT_EQ(Captions(f.Grid(P::kSystem)),
              (QStringList{"MAC Address", "IP Address", "Netmask", "Gateway IP", "DHCP flag"}));
    EXPECT_EQ(Captions(f.Grid(P::kNetwork)),
              (QStringList{"Network Mode", "DHCP Switch", "IP Address", "Netmask", "Gateway IP"}));
    EXPECT_EQ(Captions(f.Grid(P::kInterface)),
              (QStringList{"Port", "Protocol", "Work Mode", "Broadcast Interval(S)", "Timezone"}));
    EXPECT_EQ(f.Grid(P::kNetwork)->Editor("First DNS"), nullptr) << "hidden rows are not shown";

    const std::tuple<P::Page, const char*, const char*> shown[] = {
        {P::kSystem, "MAC Address", "0.26.43.60.77.94"},
        {P::kSystem, "IP Address", "10.0.0.20"},
        {P::kSystem, "DHCP flag", "Disable"},
        {P::kDevice, "Device Type", "VKB220"},
        {P::kDevice, "Device Name", "Line-4"},
        {P::kNetwork, "DHCP Switch", "Disable"},
        {P::kNetwork, "Gateway IP", "10.0.0.1"},
        {P::kInterface, "Port", "4001"},
        {P::kInterface, "Protocol", "TCP"},
        {P::kInterface, "Work Mode", "Client Mode"},
        {P::kSerial, "Baudrate", "9600 bps"},
        {P::kSerial, "Data Bits", "8 bit"},
    };
    for (const auto& [page, caption, text] : shown)
        EXPECT_EQ(EditorText(f.Grid(page)->Editor(caption)), text) << caption;

    auto* password = qobject_cast<QLineEdit*>(f.Grid(P::kDevice)->Editor("Password"));
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(qobject_cast<QLineEdit*>(f.Grid(P::kDevice)->Editor("Firmware Version"))->isReadOnly());
    EXPECT_TRUE(qobject_cast<QLineEdit*>(f.Grid(P::kSystem)->Editor("IP Address"))->isReadOnly());
    EXPECT_FALSE(qobject_cast<QComboBox*>(f.Grid(P::kNetwork)->Editor("DHCP Switch"))->isEditable());
    EXPECT_TRUE(qobject_cast<QComboBox*>(f.Grid(P::kSerial)->Editor("Baudrate"))->isEditable());
    EXPECT_NE(qobject_cast<ui::TSpinEdit*>(f.Grid(P::kSerial)->Editor("Max Length(Bytes)")), nullptr);
    EXPECT_GT(f.Grid(P::kSerial)->columnWidth(0), f.Grid(P::kInterface)->columnWidth(0));
    // A free-text list opens at the item shown.
    EXPECT_EQ(qobject_cast<QComboBox*>(f.Grid(P::kSerial)->Editor("Baudrate"))->currentIndex(), 5);
    EXPECT_EQ(qobject_cast<QComboBox*>(f.Grid(P::kInterface)->Editor("Work Mode"))->currentIndex(), 2);
    ScreenshotEveryPage(f.form, "ParaInfoForm");
}

TEST(TParaInfoForm, InactiveRowsAreGreyExceptOnTheSerialPage) {
    StandardForm f;
    for (const char* caption : {"MAC Address", "IP Address", "DHCP flag"})
        EXPECT_TRUE(Grey(f.Grid(P::kSystem), caption)) << caption;
    EXPECT_TRUE(Grey(f.Grid(P::kDevice), "Device Type"));
    EXPECT_FALSE(Grey(f.Grid(P::kNetwork), "IP Address"));  // DHCP off
    f.form.PageControl1()->setCurrentIndex(P::kDevice);
    EXPECT_TRUE(Grey(f.Grid(P::kDevice), "Firmware Version"));

    MessageBoxRecorder boxes;
    Choose(f.Grid(P::kNetwork), "DHCP Switch", "Enable");
    for (const char* caption : {"IP Address", "Netmask", "Gateway IP"})
        EXPECT_TRUE(Grey(f.Grid(P::kNetwork), caption)) << caption;
    EXPECT_TRUE(boxes.boxes.empty());

    f.sheet.sheet().Row({P::kSerial, "Parity"}).inactive = true;
    f.Grid(P::kSerial)->RefreshMarks();
    EXPECT_FALSE(Grey(f.Grid(P::kSerial), "Parity"));
}

TEST(TParaInfoForm, EditsAreCheckedAndWarnedAboutWithoutBeingRefused) {
    StandardForm f;
    f.form.PageControl1()->setCurrentIndex(P::kNetwork);
    MessageBoxRecorder boxes("ParaInfoForm-address-box");
    Type(f.Grid(P::kNetwork), "Netmask", "255.255.0");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Netmask format error!");
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.boxes[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(f.sheet.Text(P::kNetwork, "Netmask"), "255.255.0");

    // Address rows take 15 characters.
    Type(f.Grid(P::kNetwork), "IP Address", "192.168.100.2001");
    EXPECT_EQ(EditorText(f.Grid(P::kNetwork)->Editor("IP Address")), "192.168.100.200");
    // Names take nine.
    Type(f.Grid(P::kDevice), "Device Name", "ABCDEFGHIJK");
    EXPECT_EQ(f.sheet.Text(P::kDevice, "Device Name"), "ABCDEFGHI");

    boxes.boxes.clear();
    f.form.PageControl1()->setCurrentIndex(P::kInterface);
    Choose(f.Grid(P::kInterface), "Work Mode", "Server Mode");
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(f.sheet.Row(P::kInterface, "Broadcast Interval(S)").inactive);
    EXPECT_TRUE(Grey(f.Grid(P::kInterface), "Broadcast Interval(S)"));
}

TEST(TParaInfoForm, ModityStoresClosesAndSetsModified) {
    StandardForm f;
    Type(f.Grid(P::kDevice), "Device Name", "Line-5");
    Type(f.Grid(P::kSerial), "Baudrate", "19200 bps");
    auto* spin = qobject_cast<ui::TSpinEdit*>(f.Grid(P::kInterface)->Editor("Port"));
    spin->stepBy(3);
    EXPECT_EQ(spin->text(), "4004");
    QTest::mouseClick(f.form.ModifyButton(), Qt::LeftButton);
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.form.Modified(), 1);
    const auto& p = *reinterpret_cast<const VkParamSinglePort*>(f.block.data());
    EXPECT_STREQ(p.device_name, "Line-5");
    EXPECT_EQ(p.baud_rate, 19200u);
    EXPECT_EQ(p.local_port, 4004);
}

TEST(TParaInfoForm, ANumberRowThatIsNoIntegerStopsTheModityWithTheFrameworksBox) {
    StandardForm f;
    Type(f.Grid(P::kSerial), "Max Interval(ms)", "ten");
    MessageBoxRecorder boxes("ParaInfoForm-integer-box");
    QTest::mouseClick(f.form.ModifyButton(), Qt::LeftButton);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "'ten' is not a valid integer value");
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(f.form.isVisible());
    EXPECT_EQ(f.form.Modified(), 0);
}

TEST(TParaInfoForm, DefaultResetsTheEditorsAndCancelOrTheFrameLeaveNothingModified) {
    StandardForm f;
    QTest::mouseClick(f.form.DefaultButton(), Qt::LeftButton);
    EXPECT_EQ(EditorText(f.Grid(P::kNetwork)->Editor("IP Address")), "10.1.1.10");
    EXPECT_EQ(EditorText(f.Grid(P::kInterface)->Editor("Port")), "6006");
    EXPECT_EQ(EditorText(f.Grid(P::kDevice)->Editor("Device Name")), "");
    EXPECT_EQ(EditorText(f.Grid(P::kSerial)->Editor("Baudrate")), "9600 bps");
    EXPECT_EQ(f.block, StandardBlock()) << "Default stores nothing";
    QTest::mouseClick(f.form.CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.form.Modified(), 0);
    EXPECT_EQ(f.block, StandardBlock());

    StandardForm g;
    g.form.close();
    EXPECT_EQ(g.form.Modified(), 0);
}

struct ExtendedForm {
    Block block = ExtendedBlock();
    ExParamSheet sheet{kNames};
    ui::TParaInfoExForm form{sheet, block, nullptr};
    ExtendedForm() {
        VkSearchRecordEx record{};
        const uint8_t ip[4] = {10, 0, 0, 30};
        std::memcpy(record.ip, ip, 4);
        sheet.FillSystemInformation(RecordBytes(record), block);
        form.show();
        QApplication::setActiveWindow(&form);
    }
    ui::TPropertyGrid* Grid(size_t page) { return form.Grid(page); }
};

TEST(TParaInfoExForm, ShowsTheTimeDeviceOnFivePagesWithCategoryRows) {
    ExtendedForm f;
    EXPECT_EQ(f.form.windowTitle(), "Setting - VMS450");
    ExpectSystemTitle(&f.form, "Setting - VMS450");
    EXPECT_EQ(Tabs(f.form.PageControl1()),
              (QStringList{"System Information", "Device Information", "Network", "NTP", "Channel-0"}));
    EXPECT_EQ(f.form.ModifyButton()->text(), "Modify");
    EXPECT_EQ(Captions(f.Grid(X::kChannel0)).mid(0, 3), (QStringList{"# Network", "Port", "Protocol"}));
    EXPECT_TRUE(Captions(f.Grid(X::kNtp)).contains("# Serial"));
    EXPECT_EQ(f.Grid(X::kNtp)->Editor("Flow Control"), nullptr);
    const std::tuple<size_t, const char*, const char*> shown[] = {
        {X::kSystemInformation, "MAC Address", "0.26.43.0.0.131"},
        {X::kSystemInformation, "IP", "10.0.0.30"},
        {X::kDeviceInformation, "Device Type", "VMS450"},
        {X::kNetwork, "IP Address", "10.0.0.30"},
        {X::kNtp, "TimeServer1", "pool.ntp.org"},
        {X::kNtp, "Time Zone", "8"},
        {X::kChannel0, "Port", "6006"},
        {X::kChannel0, "Baud", "9600 bps"},
    };
    for (const auto& [page, caption, text] : shown)
        EXPECT_EQ(EditorText(f.Grid(page)->Editor(caption)), text) << caption;
    ScreenshotEveryPage(f.form, "ParaInfoExForm");
}

TEST(TParaInfoExForm, ModifyStoresTheEditedRowsAndRefusesANonInteger) {
    ExtendedForm f;
    Type(f.Grid(X::kNtp), "TimeServer2", "time.example.org");
    Type(f.Grid(X::kChannel0), "Baud", "115200 bps");
    Type(f.Grid(X::kNtp), "Time Zone", "-5");
    {
        MessageBoxRecorder boxes;
        Type(f.Grid(X::kChannel0), "Peer Port", "x1");
        QTest::mouseClick(f.form.ModifyButton(), Qt::LeftButton);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "'x1' is not a valid integer value");
        EXPECT_TRUE(f.form.isVisible());
    }
    Type(f.Grid(X::kChannel0), "Peer Port", "6007");
    QTest::mouseClick(f.form.ModifyButton(), Qt::LeftButton);
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.form.Modified(), 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(&f.block[278]), "time.example.org");
    EXPECT_EQ(f.block[184], 0x80);
    EXPECT_EQ(f.block[185], 0x04);
    EXPECT_EQ(f.block[235], 251);
    EXPECT_EQ(f.block[126], 0x17);
    EXPECT_EQ(f.block[127], 0x77);
}

TEST(TFormLogin, StartsWithItsDesignedTextsAndTheFocusOnThePassword) {
    ui::TFormLogin login;
    login.show();
    QApplication::setActiveWindow(&login);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&login));
    EXPECT_EQ(login.windowTitle(), "Input the username and password");
    ExpectSystemTitle(&login, "Input the username and password");
    EXPECT_EQ(login.Label1()->text(), "Username:");
    EXPECT_EQ(login.Label2()->text(), "Password:");
    EXPECT_EQ(login.Edit1()->text(), "admin");
    EXPECT_EQ(login.Edit2()->text(), "73915026");
    EXPECT_EQ(login.Edit2()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(login.Edit1()->maxLength(), 9);
    EXPECT_EQ(login.Edit2()->maxLength(), 9);
    EXPECT_TRUE(login.Edit2()->hasFocus());
    EXPECT_TRUE(login.Button1()->isDefault());
    EXPECT_EQ(login.Button1()->text(), "OK");
    EXPECT_EQ(login.findChildren<QPushButton*>().size(), 1) << "no cancel button";
    SaveScreenshot(&login, "FormLogin");

    QTest::keyClicks(login.Edit2(), "0123456789");
    EXPECT_EQ(login.Edit2()->text().size(), 9);
    login.Edit1()->clear();
    for (const char* typed : {"op", "|", "Ü", "€x"})  // "|" and what GBK cannot hold are refused
        login.Edit1()->insert(QString::fromUtf8(typed));
    EXPECT_EQ(login.Edit1()->text(), QString::fromUtf8("op€x"));
    EXPECT_EQ(login.Typed().user_name, "op\x80x");
    EXPECT_EQ(login.Typed().password, "012345678") << "the designed text was selected and typed over";
    QTest::keyClick(login.Edit2(), Qt::Key_Return);
    EXPECT_FALSE(login.isVisible());
}

// The UI port's credential question: each dialog starts with the designed texts, and the texts of the
// boxes are taken however the dialog is closed (OK, Escape or the frame), as its result is not looked at.
TEST(TFormLogin, TheUiPortTakesTheTextsHoweverTheDialogIsClosed) {
    QWidget owner;
    owner.show();
    ui::QtUiPort port(&owner, nullptr, nullptr);
    const std::function<void(ui::TFormLogin*)> closes[] = {
        [](ui::TFormLogin* login) { QTest::mouseClick(login->Button1(), Qt::LeftButton); },
        [](ui::TFormLogin* login) { QTest::keyClick(login->Edit2(), Qt::Key_Escape); },
        [](ui::TFormLogin* login) { login->close(); },
    };
    for (size_t i = 0; i < std::size(closes); ++i) {
        QString shown;
        WhenModalShown([&, i](QWidget* w) {
            auto* login = qobject_cast<ui::TFormLogin*>(w);
            ASSERT_NE(login, nullptr);
            shown = login->Edit1()->text() + "/" + login->Edit2()->text();
            login->Edit1()->setText(QString("op%1").arg(i));
            closes[i](login);
        });
        const std::optional<Credentials> typed = port.AskCredentials("10.0.0.7");
        EXPECT_EQ(shown, "admin/73915026") << i;
        ASSERT_TRUE(typed.has_value()) << i;
        EXPECT_EQ(typed->user_name, "op" + std::to_string(i));
        EXPECT_EQ(typed->password, "73915026");
    }
}

}  // namespace
}  // namespace torvane::test
