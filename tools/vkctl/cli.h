// vkctl's command line: parses it, runs the subcommand and turns failures into one line on stderr and
// the exit status of their class.
#pragma once

namespace vkctl {

int Run(int argc, char** argv);

}  // namespace vkctl
