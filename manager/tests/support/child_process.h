// A program started by a test with its standard output on a pipe: lines can be awaited with a
// time-out, the exit awaited or forced. The destructor kills and reaps a child that still runs.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace torvane::test {

class ChildProcess {
  public:
    // Starts `program` with `args`, the test's environment and `env` on top of it. Throws
    // std::runtime_error when it cannot be started.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& env);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of its output (without the newline); nothing at the time-out or the output's end.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // Lines up to and including the first that starts with `prefix`; nothing when it does not come.
    std::optional<std::vector<std::string>> ReadUntil(const std::string& prefix,
                                                      std::chrono::milliseconds timeout);
    // The exit code (128 + the signal's number for a killed child); nothing when it still runs.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    void Kill(int signal);
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffered_;
    std::optional<int> status_;
};

}  // namespace torvane::test
