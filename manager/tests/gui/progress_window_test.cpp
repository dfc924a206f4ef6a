// The update's progress window as the UI port drives it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QWidget>

#include "gui/gui_support.h"
#include "ui/qt_ui_port.h"
#include "ui/update/form_rate.h"

namespace torvane::test {
namespace {

TEST(TFormRate, TheUiPortMakesShowsUpdatesAndReleasesIt) {
    QWidget owner;
    owner.resize(600, 400);
    owner.show();
    // Placed by the window manager first (on X11), as a main window is long before an update.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    ui::QtUiPort port(&owner, nullptr, nullptr);
    EXPECT_EQ(port.FormRate(), nullptr);

    port.ShowProgress("Save the device param...");
    ui::TFormRate* rate = port.FormRate();
    ASSERT_NE(rate, nullptr);
    EXPECT_TRUE(rate->isVisible());
    EXPECT_FALSE(rate->isModal());
    EXPECT_EQ(rate->windowTitle(), "Update,Please waitting...");
    ExpectSystemTitle(rate, "Update,Please waitting...");
    EXPECT_TRUE(rate->windowFlags() & Qt::Tool);
    EXPECT_EQ(rate->size(), QSize(390, 102));
    EXPECT_EQ(rate->Label1()->width(), 265);
    EXPECT_EQ(rate->Label1()->text(), "Save the device param...");
    EXPECT_EQ(rate->ProgressBar1()->minimum(), 0);
    EXPECT_EQ(rate->ProgressBar1()->maximum(), 100);
    // A window manager's frames (their title bars) are not known before the window is on the screen.
    const int slack = QGuiApplication::platformName() == QLatin1String("xcb") ? 32 : 4;
    EXPECT_LE((rate->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), slack)
        << "centred on its owner";

    port.SetProgressPosition(42);
    port.SetProgressLabel("Updating,Pleas wait...");
    EXPECT_EQ(rate->ProgressBar1()->value(), 42);
    EXPECT_EQ(rate->Label1()->text(), "Updating,Pleas wait...");
    port.ProcessMessages();
    SaveScreenshot(rate, "progress_window");

    port.ShowProgress("Checking...");  // the same window again, its bar back at 0
    EXPECT_EQ(port.FormRate(), rate);
    EXPECT_EQ(rate->ProgressBar1()->value(), 0);

    port.CloseProgress();
    port.ProcessMessages();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(port.FormRate(), nullptr) << "closed and released";
    port.SetProgressPosition(10);  // nothing to update: no window is made for it
    EXPECT_EQ(port.FormRate(), nullptr);
}

}  // namespace
}  // namespace torvane::test
