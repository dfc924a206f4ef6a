#include "ui/paint_now.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace torvane::ui {
namespace {

bool Exposed(const QWidget* w) {
    const QWindow* handle = w->windowHandle();
    return handle && handle->isExposed();
}

}  // namespace

void PaintVisibleWindows(std::chrono::milliseconds limit) {
    QTimer deadline;  // wakes the wait below when nothing else arrives
    deadline.setSingleShot(true);
    deadline.start(limit);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || !w->windowHandle()) continue;
        while (!Exposed(w) && deadline.isActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (Exposed(w)) w->repaint();
    }
    QGuiApplication::sync();  // the pictures reach the window system before a blocking call follows
                              // (it lets window messages run, as they may here)
}

void RepaintIfShown(QWidget* widget) {
    if (widget->isVisible() && Exposed(widget->window())) widget->repaint();
}

}  // namespace torvane::ui
