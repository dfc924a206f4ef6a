// Places for tests that change what the operating system holds: a network namespace of their own (its
// interfaces and ARP table are not the machine's), a thread without the privilege to write where file
// permissions forbid it, and temporary folders.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace torvane::test {

// Runs `body` on a thread of its own inside a new network namespace whose loopback is up. Everything
// the thread does (sockets, ioctls, the commands of Shell) happens in that namespace, which goes away
// with the thread. Returns an empty text, or why the namespace could not be made (the caller skips).
std::string RunInPrivateNetwork(const std::function<void()>& body);

// Runs `body` on a thread that file permissions bind even when the process runs as root. Returns an
// empty text, or why that could not be arranged.
std::string RunWithoutFilePrivilege(const std::function<void()>& body);

// Runs a shell command in the calling thread's network namespace; true when it exits with 0.
bool Shell(const std::string& command);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace torvane::test
