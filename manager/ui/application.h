// What the program sets on its application object before it creates a window. The tests set up their
// application object with it too, so that the windows they show carry the titles the program's do.
#pragma once

namespace torvane::ui {

// The title of the message boxes (and the program's name in the user's settings).
inline constexpr const char* kApplicationTitle = "Torvane Device Manager V1.0";

// Names the application for QSettings ("Torvane" / "Torvane": ~/.config/Torvane/Torvane.conf). No
// application display name is set: the desktop platforms append it to every window title, and a
// window's title is its caption alone.
void PrepareApplication();

}  // namespace torvane::ui
