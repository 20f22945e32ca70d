#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace zelar::test {

using Clock = std::chrono::steady_clock;

// The simulated modem program, run for one test: started with its options, its one stdout line
// ("COM<n> <device>") read, stopped by a signal or killed at the end.
// Reads until `count` bytes came, or `stopAt` is seen at the end, or the time is up.
inline std::string readFor(int fd, std::size_t count, int timeoutMs, char stopAt = '\0') {
    std::string out;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < count && (stopAt == '\0' || out.empty() || out.back() != stopAt)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            break;
        char buffer[4096];
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, count - out.size()));
        if (got <= 0)
            break;
        out.append(buffer, static_cast<std::size_t>(got));
    }
    return out;
}

class SimProcess {
  public:
    // With `waitReady` false the constructor returns at once; readLine() then waits.
    explicit SimProcess(std::vector<std::string> args, bool waitReady = true) {
        int out[2];
        if (::pipe(out) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            // A modem answers in time whatever else the computer does; the protocol allows 100 ms
            // for some replies, which a loaded machine can deny a process of normal priority.
            // Where this user may raise it, the simulator comes first (else it runs as it is).
            ::setpriority(PRIO_PROCESS, 0, -10);
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv;
            static std::string program = ZELAR_SIM_PATH;
            argv.push_back(program.data());
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        stdout_ = out[0];
        if (waitReady)
            readLine();
    }
    const std::string& readLine() {
        line_ = readFor(stdout_, 200, 5000, '\n');
        return line_;
    }
    ~SimProcess() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stdout_ >= 0)
            ::close(stdout_);
    }

    const std::string& line() const { return line_; }
    std::string stdoutRest() { return readFor(stdout_, 100000, 2000); }
    // Sends the signal and returns the exit code, or -1.
    int stop(int signal = SIGTERM) {
        ::kill(pid_, signal);
        return waitForExit();
    }
    int waitForExit() {
        int status = 0;
        const auto end = Clock::now() + std::chrono::seconds(5);
        while (Clock::now() < end) {
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::usleep(10'000);
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    bool exited_ = false;
    std::string line_;
};

}  // namespace zelar::test
