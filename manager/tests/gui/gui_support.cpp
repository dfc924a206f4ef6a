#include "gui/gui_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ui/application.h"
#include "ui/message_boxes.h"

namespace torvane::test {

std::optional<std::string> WindowSystemTitle(const QWidget* window) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
    return XWindowName(std::to_string(window->winId()));
}

void ExpectSystemTitle(QWidget* window, const std::string& expected) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << expected;
    if (!WindowSystemTitle(window)) return;
    EXPECT_TRUE(QTest::qWaitFor([&] { return *WindowSystemTitle(window) == expected; }, 2000))
        << expected << " as the window manager shows it: " << *WindowSystemTitle(window);
}

std::string XWindowName(const std::string& window_id) {
    const std::string command = "xprop -id " + window_id + " _NET_WM_NAME 2>&1";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        ::pclose(pipe);
    }
    // _NET_WM_NAME(UTF8_STRING) = "TorvaneV1.1"
    const size_t open = out.find('"');
    const size_t close = out.rfind('"');
    if (open == std::string::npos || close <= open) return "(no title: " + out + ")";
    return out.substr(open + 1, close - open - 1);
}

void SaveScreenshot(QWidget* widget, const QString& name) {
    const QString dir = QStringLiteral(TORVANE_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    EXPECT_TRUE(widget->grab().save(dir + "/" + name + ".png")) << name.toStdString();
}

void TypeKeys(const char* keys) {
    for (const char* k = keys; *k; ++k) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr) << "nothing has the focus before key " << (k - keys) << " of " << keys;
        if (*k == '\b') {
            QTest::keyClick(focused, Qt::Key_Backspace);
        } else if (*k == '\x16') {
            QTest::keyClick(focused, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClick(focused, *k);
        }
    }
}

void WhenModalShown(std::function<void(QWidget*)> act) {
    WhenWindowShown([](QWidget* w) { return w == QApplication::activeModalWidget(); }, std::move(act));
}

void WhenWindowShown(std::function<bool(QWidget*)> is_it, std::function<void(QWidget*)> act) {
    auto timer = std::make_shared<QTimer>();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    timer->setInterval(10);
    QObject::connect(timer.get(), &QTimer::timeout,
                     [timer, is_it = std::move(is_it), act = std::move(act), deadline]() mutable {
                         QWidget* found = nullptr;
                         for (QWidget* w : QApplication::topLevelWidgets()) {
                             if (w->isVisible() && is_it(w)) found = w;
                         }
                         if (found) {
                             timer->stop();
                             act(found);
                             timer.reset();
                         } else if (std::chrono::steady_clock::now() > deadline) {
                             timer->stop();
                             ADD_FAILURE() << "no such window appeared";
                             timer.reset();
                         }
                     });
    timer->start();
}

MessageBoxRecorder::MessageBoxRecorder(QString screenshot_name)
    : screenshot_name_(std::move(screenshot_name)) {
    ui::SetMessageBoxInterceptor([this](QMessageBox& box) {
        boxes.push_back({box.text(), box.icon(), box.standardButtons()});
        if (!screenshot_name_.isEmpty()) {
            box.show();
            SaveScreenshot(&box, screenshot_name_);
            box.hide();
        }
        const auto buttons = box.buttons();
        return buttons.isEmpty() ? QMessageBox::NoButton : box.standardButton(buttons.first());
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    ui::SetMessageBoxInterceptor({});
}

}  // namespace torvane::test

namespace {

// The offscreen platform says so whenever a window asks it for what it has no use for.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietOffscreenNotes);
    // Offscreen unless a platform is asked for (scripts/with_xvfb.sh asks for xcb on its own server).
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The user's settings of this run only (QSettings keeps them under XDG_CONFIG_HOME).
    char settings[] = "/tmp/torvane-gui-settings-XXXXXX";
    if (!mkdtemp(settings)) return 1;
    setenv("XDG_CONFIG_HOME", settings, 1);
    QApplication app(argc, argv);
    torvane::ui::PrepareApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
