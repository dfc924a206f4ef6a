// Painting on demand. The window thread blocks in library calls for up to a second at a time; a
// window that was shown just before such a call has usually not been exposed by the window system
// yet, and would stay unpainted (black on X11) for the whole call.
#pragma once

#include <chrono>

class QWidget;

namespace torvane::ui {

// Paints every visible top-level window now. A window that the window system has not exposed yet is
// waited for, at most `limit` (window messages run meanwhile, as they do where this is called).
void PaintVisibleWindows(std::chrono::milliseconds limit = std::chrono::milliseconds(500));

// Paints the widget's window now when it is on the screen (no window messages run).
void RepaintIfShown(QWidget* widget);

}  // namespace torvane::ui
