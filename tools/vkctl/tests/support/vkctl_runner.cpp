#include "vkctl_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace vkctltest {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kDeadline = std::chrono::seconds(60);
constexpr uint16_t kTextPort = 65535;
constexpr uint16_t kBinaryPort = 65280;
constexpr uint8_t kWrite = 5, kSave = 7, kSerialSet = 9, kLogin = 17, kLoginByMac = 15;

// argv and envp built before the program starts, so that nothing is allocated between fork and exec.
struct Invocation {
    std::vector<std::string> args;
    std::vector<std::string> env;
    std::vector<char*> argv;
    std::vector<char*> envp;

    Invocation(const std::vector<std::string>& a, const std::map<std::string, std::string>& extra) {
        args.push_back(VKCTL_BINARY);
        args.insert(args.end(), a.begin(), a.end());
        std::map<std::string, std::string> vars{{"VKCFG_BROADCAST", "127.255.255.255"}};
        for (char** e = environ; *e; ++e) {
            const std::string var = *e;
            const std::string name = var.substr(0, var.find('='));
            if (name != "VKCFG_BROADCAST" && name != "VKCTL_PASSWORD")
                vars.emplace(name, var.substr(name.size() + 1));
        }
        for (const auto& [k, v] : extra)
            vars[k] = v;
        for (const auto& [k, v] : vars)
            env.push_back(k + "=" + v);
        for (auto& s : args)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        for (auto& s : env)
            envp.push_back(s.data());
        envp.push_back(nullptr);
    }
};

int Reap(pid_t pid, bool kill_first) {
    if (kill_first) kill(pid, SIGKILL);
    int raw = 0;
    while (waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// Reads the descriptors until all are at their end or the deadline passes; false at the deadline.
bool Drain(std::vector<std::pair<int, std::string*>> sources) {
    const auto until = Clock::now() + kDeadline;
    while (!sources.empty()) {
        std::vector<pollfd> fds;
        for (auto& s : sources)
            fds.push_back({s.first, POLLIN, 0});
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0 || poll(fds.data(), fds.size(), static_cast<int>(left)) <= 0) return false;
        for (size_t i = fds.size(); i-- > 0;) {
            if (!fds[i].revents) continue;
            char buf[4096];
            const ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sources[i].second->append(buf, static_cast<size_t>(n));
            } else {
                close(fds[i].fd);
                sources.erase(sources.begin() + static_cast<long>(i));
            }
        }
    }
    return true;
}

}  // namespace

Outcome Vkctl(const std::vector<std::string>& args, const std::map<std::string, std::string>& env) {
    Invocation inv(args, env);
    int out_pipe[2], err_pipe[2];
    if (pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err_pipe[1], STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, inv.argv[0], &actions, nullptr, inv.argv.data(), inv.envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out_pipe[1]);
    close(err_pipe[1]);
    if (spawned != 0) {
        close(out_pipe[0]);
        close(err_pipe[0]);
        throw std::runtime_error(std::string("cannot start vkctl: ") + std::strerror(spawned));
    }
    Outcome o;
    const bool finished = Drain({{out_pipe[0], &o.out}, {err_pipe[0], &o.err}});
    o.status = Reap(pid, !finished);
    return o;
}

TerminalOutcome VkctlOnTerminal(const std::vector<std::string>& args,
                                const std::vector<std::pair<std::string, std::string>>& answers) {
    Invocation inv(args, {});
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid < 0) throw std::runtime_error("forkpty");
    if (pid == 0) {
        execve(inv.argv[0], inv.argv.data(), inv.envp.data());
        _exit(127);
    }
    TerminalOutcome o;
    size_t next = 0, seen = 0;
    const auto until = Clock::now() + kDeadline;
    bool finished = false;
    while (Clock::now() < until) {
        pollfd fd{master, POLLIN, 0};
        if (poll(&fd, 1, 200) < 0) break;
        if (fd.revents) {
            char buf[1024];
            const ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0) {  // EIO once the program has ended and closed the terminal
                finished = true;
                break;
            }
            o.screen.append(buf, static_cast<size_t>(n));
        }
        if (next < answers.size()) {
            const size_t at = o.screen.find(answers[next].first, seen);
            if (at != std::string::npos) {
                seen = at + answers[next].first.size();
                const std::string reply = answers[next].second + "\n";
                if (write(master, reply.data(), reply.size()) < 0) break;
                ++next;
            }
        }
    }
    close(master);
    o.status = Reap(pid, !finished);
    return o;
}

std::vector<vksim::LoggedRequest> ChangeRequests(const vksim::Network& net) {
    std::vector<vksim::LoggedRequest> out;
    for (const auto& r : net.Requests()) {
        const bool binary_change = r.port == kBinaryPort && r.bytes.size() > 8 &&
                                   (r.bytes[8] == kWrite || r.bytes[8] == kSave || r.bytes[8] == kSerialSet);
        const bool text_change =
            r.port == kTextPort && !r.bytes.empty() && (r.bytes[0] == 'S' || r.bytes[0] == 'P');
        if (binary_change || text_change) out.push_back(r);
    }
    return out;
}

size_t RequestsWithCommand(const vksim::Network& net, uint8_t command) {
    size_t n = 0;
    for (const auto& r : net.Requests())
        n += r.port == kBinaryPort && r.bytes.size() > 8 && r.bytes[8] == command;
    return n;
}

size_t RequestsWithCommandOnceLogged(const vksim::Network& net, uint8_t command, size_t expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    size_t n = RequestsWithCommand(net, command);
    while (n < expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        n = RequestsWithCommand(net, command);
    }
    return n;
}

size_t LoginRequests(const vksim::Network& net) {
    size_t n = RequestsWithCommand(net, kLogin) + RequestsWithCommand(net, kLoginByMac);
    for (const auto& r : net.Requests())
        n += r.port == kTextPort && !r.bytes.empty() && r.bytes[0] == 'L';
    return n;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

::testing::AssertionResult OneErrorLine(const Outcome& o, const std::string& containing) {
    const auto lines = Lines(o.err);
    if (lines.size() != 1) return ::testing::AssertionFailure() << "not one line on stderr:\n" << o.err;
    if (lines[0].rfind("vkctl: ", 0) != 0)
        return ::testing::AssertionFailure() << "no program name: " << lines[0];
    if (lines[0].find(containing) == std::string::npos)
        return ::testing::AssertionFailure() << "\"" << containing << "\" not in: " << lines[0];
    return ::testing::AssertionSuccess();
}

}  // namespace vkctltest
