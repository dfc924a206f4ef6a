// The address entry control and the about box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "gui/gui_support.h"
#include "support/sandbox.h"
#include "ui/about_box.h"
#include "ui/ip_edit.h"
#include "ui/ip_form.h"

namespace torvane::test {
namespace {

TEST(TIPEdit, OctetFieldsTakeOnlyNumbersUpTo255) {
    const std::pair<const char*, QValidator::State> cases[] = {
        {"", QValidator::Intermediate},  {"0", QValidator::Acceptable}, {"255", QValidator::Acceptable},
        {"007", QValidator::Acceptable}, {"256", QValidator::Invalid},  {"1000", QValidator::Invalid},
        {"-1", QValidator::Invalid},     {"1a", QValidator::Invalid},   {" 1", QValidator::Invalid},
    };
    ui::OctetValidator v;
    for (const auto& [text, state] : cases) {
        QString s = QString::fromLatin1(text);
        int pos = 0;
        EXPECT_EQ(v.validate(s, pos), state) << text;
    }
}

TEST(TIPEdit, TypingIsCheckedAndTheTextIsDotted) {
    ui::TIPEdit edit;
    EXPECT_EQ(edit.Text(), "0.0.0.0");
    const std::pair<const char*, const char*> typed[] = {
        {"192", "192"}, {"300", "30"}, {"1x2", "12"}, {"0255", "025"},  // a fourth digit is refused
    };
    for (const auto& [keys, field] : typed) {
        edit.Field(1)->clear();
        QTest::keyClicks(edit.Field(1), keys);
        EXPECT_EQ(edit.Field(1)->text(), field) << keys;
    }
    edit.Field(1)->clear();
    EXPECT_EQ(edit.Text(), "0.0.0.0") << "an empty field reads as 0";
}

TEST(TIPEdit, SetTextFillsTheFieldsFromADottedText) {
    const std::pair<const char*, const char*> cases[] = {
        {"10.0.0.7", "10.0.0.7"}, {"192.168.001.020", "192.168.1.20"},
        {" 1.2.3.4 ", "1.2.3.4"}, {"1.2.3", "1.2.3.0"},
        {"300.1.2.3", "0.1.2.3"}, {"a.b.c.d", "0.0.0.0"},
        {"1.2.3.4.5", "1.2.3.4"}, {"", "0.0.0.0"},
    };
    ui::TIPEdit edit;
    for (const auto& [text, shown] : cases) {
        edit.SetText(QString::fromLatin1(text));
        EXPECT_EQ(edit.Text(), shown) << text;
    }
}

struct TypingCase {
    const char* initial;  // the dialog's text when it opens
    const char* keys;
    const char* stored;
};

TEST(TIPEdit, AnAddressTypedInOneGoIsTheAddressStored) {
    const TypingCase cases[] = {
        {"0.0.0.0", "192.168.1.20", "192.168.1.20"},
        {"0.0.0.0", "127.0.0.13", "127.0.0.13"},
        {"0.0.0.0", "10.0.0.1", "10.0.0.1"},
        {"0.0.0.0", "255.255.255.255", "255.255.255.255"},
        {"0.0.0.0", "192168001020", "192.168.1.20"},  // without dots, three digits a field
        {"0.0.0.0", "010.000.000.001", "10.0.0.1"},
        {"10.0.0.7", "127.0.0.13", "127.0.0.13"},           // Edit: the old address is replaced
        {"0.0.0.0", "1.2.3.4.", "1.2.3.4"},                 // a dot in the last field goes nowhere
        {"0.0.0.0", "192.168\b\b\b\b0.5.6", "192.10.5.6"},  // back over the field boundary
        {"0.0.0.0", "1.\b\b\b7.8.9.10", "7.8.9.10"},
    };
    for (const auto& c : cases) {
        ui::TIPForm form;
        form.IPEdit1()->SetText(QString::fromLatin1(c.initial));
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_TRUE(form.IPEdit1()->Field(0)->hasFocus()) << "the first field has the focus when it opens";
        EXPECT_EQ(form.IPEdit1()->Field(0)->selectedText(), form.IPEdit1()->Field(0)->text()) << c.keys;
        TypeKeys(c.keys);
        EXPECT_EQ(form.IPEdit1()->Text(), QString::fromLatin1(c.stored)) << c.initial << " then " << c.keys;
    }
}

TEST(TIPEdit, PastingADottedAddressFillsTheFields) {
    const struct {
        const char* clipboard;
        int field;  // where Ctrl+V is pressed
        const char* stored;
    } cases[] = {
        {"10.20.30.40", 2, "10.20.30.40"},       // a whole address fills all four fields
        {" 192.168.1.20\n", 0, "192.168.1.20"},  // blanks around it do not matter
        {"7.8", 2, "1.1.7.8"},                   // part of an address, from the field on
        {"7.8.9", 2, "1.1.1.1"},                 // does not fit from there: nothing changes
        {"1.2.300.4", 0, "1.1.1.1"},             // no address: nothing changes
        {"25", 1, "1.125.1.1"},                  // digits are pasted into the field
    };
    for (const auto& c : cases) {
        ui::TIPForm form;
        form.IPEdit1()->SetText(QStringLiteral("1.1.1.1"));
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        QLineEdit* field = form.IPEdit1()->Field(c.field);
        field->setFocus();
        field->end(false);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(form.IPEdit1()->Text(), QString::fromLatin1(c.stored)) << c.clipboard;
    }
}

TEST(TIPEdit, TheAddressDialogHasItsSizeAndDefaultButton) {
    ui::TIPForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.size(), QSize(ui::TIPForm::kWidth, ui::TIPForm::kHeight));
    EXPECT_TRUE(form.OkButton()->isDefault());
    SaveScreenshot(&form, "address_dialog");
}

TEST(TAboutBox, ShowsReadmeAndLogoOrTheNameInLargeLetters) {
    TempDir dir;
    {
        ui::TAboutBox box(dir.path());
        EXPECT_EQ(box.Picture()->text(), "Torvane");
        EXPECT_GT(box.Picture()->font().pixelSize(), 20);
        EXPECT_TRUE(box.Readme()->toPlainText().isEmpty());
        EXPECT_TRUE(box.Readme()->isReadOnly());
        box.show();
        SaveScreenshot(&box, "about_box_without_logo");
    }
    // readme.txt in the workstation's code page (GBK), and a logo.
    std::ofstream(dir.path() / "readme.txt", std::ios::binary)
        << "Torvane device manager\r\n\xc9\xe8\xb1\xb8\xb9\xdc\xc0\xed\r\n";
    QImage logo(64, 48, QImage::Format_RGB32);
    logo.fill(QColor(30, 90, 160));
    ASSERT_TRUE(logo.save(QString::fromStdString((dir.path() / "logo.bmp").string()), "BMP"));
    ui::TAboutBox box(dir.path());
    EXPECT_EQ(box.Readme()->toPlainText(), QString::fromUtf8("Torvane device manager\n设备管理\n"));
    EXPECT_FALSE(box.Picture()->pixmap().isNull());
    EXPECT_TRUE(box.findChild<QLabel*>() != nullptr);
    bool version = false;
    for (const QLabel* l : box.findChildren<QLabel*>())
        version = version || l->text() == "Version:V1.0";
    EXPECT_TRUE(version);
    box.show();
    SaveScreenshot(&box, "about_box");
}

TEST(TAboutBox, NamesTheFilesItCannotReadAndShowsTheProgramName) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "readme.txt");
    std::filesystem::create_symlink("gone.bmp", dir.path() / "logo.bmp");
    ui::TAboutBox box(dir.path());
    const std::string folder = dir.path().string();
    EXPECT_EQ(box.Readme()->toPlainText().toStdString(),
              "Cannot read " + folder + "/logo.bmp: a symbolic link to nothing\nCannot read " + folder +
                  "/readme.txt: is a directory\n");
    EXPECT_EQ(box.Picture()->text(), "Torvane");
    box.show();
    SaveScreenshot(&box, "about_box_unreadable_files");
}

}  // namespace
}  // namespace torvane::test
