// The torvane program: single-instance start, then the main window and its message loop.
#pragma once

namespace torvane {

int RunTorvane(int argc, char** argv);

}  // namespace torvane
