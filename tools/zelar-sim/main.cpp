#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <stdexcept>

#include "port_link.h"
#include "pseudo_terminal.h"
#include "realtime_runner.h"
#include "sim/installed_modem.h"
#include "sim/state_file.h"
#include "sim_options.h"

namespace {

int controlWriteFd = -1;

extern "C" void onSignal(int signal) {
    const char command = signal == SIGUSR1 ? 'P' : 'T';
    [[maybe_unused]] const ssize_t ignored = ::write(controlWriteFd, &command, 1);
}

void installSignals() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGUSR1, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

double secondsSinceStart() {
    static const std::int64_t start = zelar::simtool::RealtimeRunner::monotonicUs();
    return static_cast<double>(zelar::simtool::RealtimeRunner::monotonicUs() - start) / 1e6;
}

// Waits out the time the modem is away; false when told to stop meanwhile.
bool waitOffline(int controlFd, int ms, zelar::sim::SimModem& modem) {
    using zelar::simtool::RealtimeRunner;
    const std::int64_t endUs = RealtimeRunner::monotonicUs() + std::int64_t{ms} * 1000;
    while (true) {
        const std::int64_t leftUs = endUs - RealtimeRunner::monotonicUs();
        if (leftUs <= 0)
            return true;
        pollfd fd{controlFd, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>((leftUs + 999) / 1000)) <= 0)
            continue;
        char command = 0;
        if (::read(controlFd, &command, 1) == 1 && command == 'T')
            return false;
        if (command == 'P')
            modem.powerCycle(RealtimeRunner::monotonicUs());
    }
}

// The modem as the state file keeps it, or freshly installed; nothing when the file is bad.
std::optional<zelar::sim::ModemStore> initialStore(const zelar::simtool::SimOptions& options) {
    using namespace zelar;
    sim::LoadedState loaded;
    if (options.stateFile)
        loaded = sim::loadState(*options.stateFile, options.bootLoader);
    if (!loaded.error.empty()) {
        std::cerr << "zelar-sim: " << loaded.error << '\n';
        return std::nullopt;
    }
    if (loaded.store) {
        if (options.firmware)
            loaded.store->firmwareVersion = *options.firmware;
        return std::move(*loaded.store);
    }
    sim::ModemStore store = sim::installedModem(options.firmware.value_or("0205"));
    store.bootLoaderVersion = options.bootLoader;
    return store;
}

// The pipe that signal handlers write their commands into; false when it cannot be made.
bool openControlPipe(int control[2]) {
    if (::pipe(control) != 0) {
        std::perror("zelar-sim: pipe");
        return false;
    }
    fcntl(control[0], F_SETFD, FD_CLOEXEC);
    fcntl(control[1], F_SETFD, FD_CLOEXEC);
    fcntl(control[1], F_SETFL, O_NONBLOCK);
    controlWriteFd = control[1];
    installSignals();
    return true;
}

// Serves the modem on a pty until told to stop; after a hang-up fault it comes back on a new
// pty under the same COM number.
void serve(const zelar::simtool::SimOptions& options, zelar::sim::SimModem& modem, int controlFd) {
    using namespace zelar;
    std::optional<int> number = options.comNumber;
    for (bool first = true;; first = false) {
        {
            simtool::PseudoTerminal pty;
            simtool::PortLink link(options.portsDir, number, pty.devicePath());
            if (first) {
                std::printf("%s %s\n", link.name().c_str(), pty.devicePath().c_str());
                std::fflush(stdout);
            } else if (options.log) {
                std::fprintf(stderr, "[%9.3f] back as %s %s\n", secondsSinceStart(),
                             link.name().c_str(), pty.devicePath().c_str());
            }
            number = link.number();

            simtool::RealtimeRunner runner(modem, pty, options.stateFile);
            const auto end = runner.run(controlFd);
            runner.save();
            link.remove();
            if (end == simtool::RealtimeRunner::End::Stopped)
                return;
        }
        // The pty and its link are gone, as an unplugged adapter's device is.
        if (!waitOffline(controlFd, options.backAfterMs, modem))
            return;
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zelar;
    const auto parsed = simtool::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.help.empty()) {
        std::cout << parsed.help;
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "zelar-sim: " << parsed.error << "\nTry zelar-sim --help.\n";
        return 2;
    }
    const simtool::SimOptions& options = *parsed.options;
    auto store = initialStore(options);
    if (!store)
        return 1;
    sim::SimModem modem(std::move(*store), options.modem);
    if (options.log) {
        modem.setLog([](const std::string& line) {
            std::fprintf(stderr, "[%9.3f] %s\n", secondsSinceStart(), line.c_str());
        });
    }
    int control[2];
    if (!openControlPipe(control))
        return 1;
    try {
        serve(options, modem, control[0]);
    } catch (const std::runtime_error& e) {
        std::cerr << "zelar-sim: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
