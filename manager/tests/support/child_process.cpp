#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace torvane::test {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::map<std::string, std::string>& env) {
    int pipe_fds[2];
    if (::pipe2(pipe_fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    std::map<std::string, std::string> merged;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const size_t eq = entry.find('=');
        if (eq != std::string::npos) merged[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [k, v] : env)
        merged[k] = v;
    std::vector<std::string> env_text;
    for (const auto& [k, v] : merged)
        env_text.push_back(k + "=" + v);
    std::vector<char*> envp, argv{const_cast<char*>(program.c_str())};
    for (auto& e : env_text)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
    const int rc = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_fds[1]);
    out_ = pipe_fds[0];
    if (rc != 0) {
        ::close(out_);
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(rc));
    }
}

ChildProcess::~ChildProcess() {
    if (!status_) {
        ::kill(pid_, SIGKILL);
        Wait(std::chrono::seconds(5));
    }
    ::close(out_);
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const size_t nl = buffered_.find('\n');
        if (nl != std::string::npos) {
            std::string line = buffered_.substr(0, nl);
            buffered_.erase(0, nl + 1);
            return line;
        }
        pollfd p{out_, POLLIN, 0};
        const int n = ::poll(&p, 1, MsLeft(deadline));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        char buf[4096];
        const ssize_t got = ::read(out_, buf, sizeof buf);
        if (got <= 0) return std::nullopt;  // the output ended
        buffered_.append(buf, static_cast<size_t>(got));
    }
}

std::optional<std::vector<std::string>> ChildProcess::ReadUntil(const std::string& prefix,
                                                                std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::vector<std::string> lines;
    while (auto line = ReadLine(std::chrono::milliseconds(MsLeft(deadline)))) {
        lines.push_back(*line);
        if (line->rfind(prefix, 0) == 0) return lines;
    }
    return std::nullopt;
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!status_) {
        int status = 0;
        const pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        } else if (Clock::now() >= deadline) {
            return std::nullopt;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return status_;
}

void ChildProcess::Kill(int signal) {
    if (!status_) ::kill(pid_, signal);
}

}  // namespace torvane::test
