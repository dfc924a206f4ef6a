// The address entry control and the about box.
#include <gtest/gtest.h>

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

TEST(TIPEdit, DotMovesOnToTheNextField) {
    ui::TIPForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.IPEdit1()->Field(0)->setFocus();
    form.IPEdit1()->Field(0)->clear();
    QTest::keyClicks(form.IPEdit1()->Field(0), "10.");
    EXPECT_TRUE(form.IPEdit1()->Field(1)->hasFocus());
    EXPECT_EQ(form.size(), QSize(ui::TIPForm::kWidth, ui::TIPForm::kHeight));
    EXPECT_TRUE(form.OkButton()->isDefault());
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
