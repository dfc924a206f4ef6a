// Helpers of the GUI tests: the application object (offscreen), screenshots of every window a test
// shows, answering a modal dialog that a click is about to open, and intercepting message boxes.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace torvane::test {

// The title the window system holds for the window (_NET_WM_NAME) on X11, as a desktop shows it;
// nothing on other platforms (offscreen has no window system to ask).
std::optional<std::string> WindowSystemTitle(const QWidget* window);
// The title as the window system holds it on X11, once it has caught up with the window (offscreen
// there is none to ask).
void ExpectSystemTitle(QWidget* window, const std::string& expected);
// _NET_WM_NAME of an X11 window (decimal or 0x... id), asked with xprop.
std::string XWindowName(const std::string& window_id);

// Types `keys` one by one into whatever has the focus at each key, as a person would: "\b" is
// Backspace and "\x16" is Ctrl+V (paste).
void TypeKeys(const char* keys);

// Saves a PNG of the widget as <build>/screenshots/<name>.png.
void SaveScreenshot(QWidget* widget, const QString& name);

// Runs `act` on the next modal widget once it is shown (polled from the event loop), for the dialog
// that the caller's next step opens with exec(). Fails the test when none appears within 5 s.
void WhenModalShown(std::function<void(QWidget*)> act);

// Runs `act` on the first visible top-level widget that `is_it` accepts, once it is shown (polled from
// the event loop, also while another modal window runs one); fails the test when none appears within 5 s.
void WhenWindowShown(std::function<bool(QWidget*)> is_it, std::function<void(QWidget*)> act);

// WhenWindowShown for the first visible window of class W.
template <typename W>
void WhenShown(std::function<void(W*)> act) {
    WhenWindowShown([](QWidget* w) { return qobject_cast<W*>(w) != nullptr; },
                    [act = std::move(act)](QWidget* w) { act(qobject_cast<W*>(w)); });
}

// Every message box shown while it lives is recorded (text, icon, buttons), saved as a screenshot
// under `screenshot_name` and answered with its first button.
class MessageBoxRecorder {
  public:
    struct Box {
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    explicit MessageBoxRecorder(QString screenshot_name = {});
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<Box> boxes;

  private:
    QString screenshot_name_;
};

}  // namespace torvane::test
