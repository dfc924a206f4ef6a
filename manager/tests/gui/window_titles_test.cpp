// Every window's title is its caption alone, offscreen and, under scripts/with_xvfb.sh, as the window
// system holds it on a real X server with a window manager.
#include <QDialog>
#include <QMenu>
#include <QToolButton>

#include "gui/gui_support.h"
#include "gui/main_form_fixture.h"

namespace torvane::test {
namespace {

struct Title {
    std::string expected;
    std::string shown;                  // QWidget::windowTitle
    std::optional<std::string> system;  // _NET_WM_NAME on X11
};

Title TitleOf(const std::string& expected, QWidget* window) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window)) << expected;
    return {expected, window->windowTitle().toStdString(), WindowSystemTitle(window)};
}

TEST_F(MainFormTest, WindowTitlesAreTheCaptionsAlone) {
    WriteBook({"10.0.0.7"});
    Start();
    std::vector<Title> titles = {TitleOf("TorvaneV1.1", form.get())};
    SelectRow(0);  // the address-book row, which has not answered (the update's offline message)

    const std::pair<const char*, std::function<void()>> modal[] = {
        {"Add IP to AddressBook", [this] { QTest::mouseClick(form->ToolButton("Add"), Qt::LeftButton); }},
        {"Modify the ip address in book",
         [this] { QTest::mouseClick(form->ToolButton("Edit"), Qt::LeftButton); }},
        {"About", [this] { QTest::mouseClick(form->ToolButton("About"), Qt::LeftButton); }},
        {"Torvane Device Manager V1.0", [this] { form->PopupMenu()->actions().at(1)->trigger(); }},
    };
    for (const auto& [caption, open] : modal) {
        bool seen = false;
        WhenModalShown([&, caption = caption](QWidget* window) {
            titles.push_back(TitleOf(caption, window));
            seen = true;
            qobject_cast<QDialog*>(window)->reject();
        });
        open();
        EXPECT_TRUE(seen) << caption;
    }
    ASSERT_EQ(titles.size(), 5u);
    for (const Title& t : titles) {
        EXPECT_EQ(t.shown, t.expected);
        if (t.system) {
            EXPECT_EQ(*t.system, t.expected) << "as the window manager shows it";
        }
    }
    if (!titles[0].system)
        std::printf("[ note     ] no window system to ask (%s)\n",
                    qPrintable(QGuiApplication::platformName()));
}

}  // namespace
}  // namespace torvane::test
