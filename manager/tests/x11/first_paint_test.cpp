// torvane on a real X server with a window manager (scripts/with_xvfb.sh): with address-book entries
// that do not answer, the first search by address blocks the window thread for a second. A
// screenshot taken during that search must show the wait window's text and a painted main window,
// and the main window's title must be its caption alone.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/main_commands.h"
#include "gui/gui_support.h"
#include "support/child_process.h"
#include "support/sandbox.h"
#include "ui/wait_form.h"

namespace torvane::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        ::pclose(pipe);
    }
    return out;
}

struct XWindow {
    std::string id;
    QRect rect;  // on the screen
};

// The mapped client window of the given size (the window manager's frames have other sizes).
std::optional<XWindow> ViewableWindow(QSize size) {
    // "     0x1e0000b "TorvaneV1.1": ("torvane" "Torvane")  800x599+0+0  +112+104"
    static const QRegularExpression line(
        QStringLiteral(R"(^\s*(0x[0-9a-f]+)\s.*\s(\d+)x(\d+)[+-]\d+[+-]\d+\s+\+(-?\d+)\+(-?\d+)\s*$)"));
    const QString tree = QString::fromStdString(Output("xwininfo -root -tree"));
    for (const QString& text : tree.split(u'\n')) {
        const auto m = line.match(text);
        if (!m.hasMatch() || m.captured(2).toInt() != size.width() || m.captured(3).toInt() != size.height())
            continue;
        const std::string id = m.captured(1).toStdString();
        if (Output("xwininfo -id " + id).find("IsViewable") == std::string::npos) continue;
        return XWindow{id, QRect(m.captured(4).toInt(), m.captured(5).toInt(), size.width(), size.height())};
    }
    return std::nullopt;
}

// Share of the pixels of `area` in `image` that equal those of `reference` at `at`.
double SameShare(const QImage& image, QRect area, const QImage& reference, QPoint at) {
    int same = 0;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            same += image.pixel(area.x() + x, area.y() + y) == reference.pixel(at.x() + x, at.y() + y);
        }
    }
    return double(same) / (area.width() * area.height());
}

// Share of the pixels of `area` that are not black (an unpainted window on X11 is black).
double PaintedShare(const QImage& image, QRect area) {
    int painted = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            painted += qGray(image.pixel(x, y)) > 16;
    }
    return double(painted) / (area.width() * area.height());
}

TEST(FirstPaint, WindowsArePaintedDuringTheFirstSearch) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server: run through scripts/with_xvfb.sh";
    TempDir home, runtime;
    {
        std::ofstream book(home.path() / "DevInfo.dat", std::ios::binary);
        for (const std::string ip : {"127.0.0.250", "127.0.0.251", "127.0.0.252"}) {
            std::string record(66, '\0');
            record.replace(0, ip.size(), ip);
            book << record;
        }
    }
    const auto started = std::chrono::steady_clock::now();
    ChildProcess torvane(TORVANE_EXE, {"--report", "--quit-after-startup"},
                         {{"TORVANE_HOME", home.path().string()},
                          {"XDG_RUNTIME_DIR", runtime.path().string()},
                          {"XDG_CONFIG_HOME", home.path().string()},
                          {"TORVANE_SHARED_TABLE_MEMORY", "/torvane-x11-test-absent-table"}});

    std::optional<XWindow> wait;
    while (!(wait = ViewableWindow(QSize(ui::TWaitForm::kWidth, ui::TWaitForm::kHeight))) &&
           std::chrono::steady_clock::now() - started < 10s)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(wait) << "no wait window appeared";
    const auto seen = std::chrono::steady_clock::now();

    // The wait window against a rendering of the same window with the same text.
    ui::TWaitForm reference;
    reference.SetText(QString::fromLatin1(kWaitTextAddressBook));
    reference.layout()->activate();
    const QImage expected = reference.grab().toImage();
    const fs::path shots = TORVANE_SCREENSHOT_DIR;
    fs::create_directories(shots);
    expected.save(QString::fromStdString((shots / "x11_wait_window_reference.png").string()));
    const QRect label = reference.Label()->geometry();

    // Screenshots while the searches by address block (three entries, a second each), until one shows
    // the text: on a loaded machine the X server may draw what it was sent a little after the first look.
    QImage screen;
    double same = 0;
    for (auto next = seen + 300ms; next - seen < 2000ms && same <= 0.9; next += 200ms) {
        std::this_thread::sleep_until(next);
        if (auto placed = ViewableWindow(QSize(ui::TWaitForm::kWidth, ui::TWaitForm::kHeight))) wait = placed;
        screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        ASSERT_FALSE(torvane.ReadLine(0ms)) << "the start-up sequence ended before the screenshot";
        ASSERT_TRUE(screen.rect().contains(wait->rect));
        same = SameShare(screen, label.translated(wait->rect.topLeft()), expected, label.topLeft());
    }
    screen.save(QString::fromStdString((shots / "x11_during_first_search.png").string()));
    EXPECT_GT(same, 0.9) << "the wait window does not show \"" << kWaitTextAddressBook << "\"";

    const auto main = ViewableWindow(QSize(800, 599));
    ASSERT_TRUE(main) << "no main window";
    EXPECT_GT(PaintedShare(screen, main->rect), 0.5) << "the main window is not painted";
    EXPECT_EQ(XWindowName(main->id), "TorvaneV1.1");

    const auto lines = torvane.ReadUntil("startup-done", 30s);
    ASSERT_TRUE(lines);
    EXPECT_EQ(torvane.Wait(10s), 0);
}

}  // namespace
}  // namespace torvane::test
