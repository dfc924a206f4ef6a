// The images of the device list (nine of 16 x 16, by a row's image index) and of the toolbar
// (24 x 24), compiled in from manager/ui/images.
#pragma once

#include <QIcon>

namespace torvane::ui {

inline constexpr int kRowImageCount = 9;

// The row image of `index`; an index outside 0 to 8 gives an empty icon.
QIcon RowImage(int index);
// A toolbar image by its file's name, for example "tool_add".
QIcon ToolbarImage(const char* name);

}  // namespace torvane::ui
