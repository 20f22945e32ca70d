#include "port_link.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace zelar::simtool {

namespace {

namespace fs = std::filesystem;

constexpr int kFirstChoice = 200;

// When the process started, in clock ticks since boot; empty where /proc cannot tell. With the
// PID it names a process even after the PID has been given to another one.
std::string processStart(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    // The command name in parentheses may hold spaces; the fields after it are plain.
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return {};
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22)
            return field;
    }
    return {};
}

bool ownerAlive(const fs::path& ownerFile) {
    std::ifstream in(ownerFile);
    long long pid = 0;
    std::string start;
    if (!(in >> pid) || pid <= 0)
        return false;
    in >> start;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        return false;
    const std::string now = processStart(static_cast<pid_t>(pid));
    return start.empty() || now.empty() || now == start;
}

// Removes the COM<n> links, with their owner files, whose owner process has gone.
void removeDeadLinks(const fs::path& portsDir) {
    static const std::regex ownerName(R"(COM[0-9]+\.owner)");
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(portsDir, ec)) {
        const fs::path owner = entry.path();
        if (!std::regex_match(owner.filename().string(), ownerName) || ownerAlive(owner))
            continue;
        const fs::path link = fs::path(owner).replace_extension();
        std::error_code ignored;
        if (fs::is_symlink(fs::symlink_status(link, ignored)))
            fs::remove(link, ignored);
        fs::remove(owner, ignored);
    }
}

// A temporary name beside `path` that no other process uses.
fs::path temporaryFor(const fs::path& path) {
    fs::path temp = path;
    temp += ".new." + std::to_string(::getpid());
    return temp;
}

// Simulators starting at once take turns in the ports folder: the clean-up, the choice of a
// number and the new link happen under an exclusive lock on the folder, so no two simulators
// take one number and no clean-up removes a link being made. The lock goes with the process.
class FolderLock {
  public:
    explicit FolderLock(const fs::path& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
            }
        }
    }
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool held() const { return fd_ >= 0; }

  private:
    int fd_;
};

// Written whole under a temporary name and renamed, so no one reads half of it.
void writeOwner(const fs::path& ownerFile) {
    const fs::path temp = temporaryFor(ownerFile);
    {
        std::ofstream out(temp, std::ios::trunc);
        const pid_t pid = ::getpid();
        out << pid << ' ' << processStart(pid) << '\n';
        if (!out)
            throw std::runtime_error("cannot write " + temp.string());
    }
    std::error_code ec;
    fs::rename(temp, ownerFile, ec);
    if (ec)
        throw std::runtime_error("cannot write " + ownerFile.string() + ": " + ec.message());
}

bool isFree(const fs::path& link) {
    std::error_code ec;
    const auto status = fs::symlink_status(link, ec);
    if (ec || !fs::exists(status))
        return true;
    // Stale: a link whose device has gone.
    return fs::is_symlink(status) && !fs::exists(link, ec);
}

}  // namespace

PortLink::PortLink(const fs::path& portsDir, std::optional<int> number, const std::string& device)
    : device_(device) {
    std::error_code ec;
    fs::create_directories(portsDir, ec);
    if (ec)
        throw std::runtime_error("cannot create " + portsDir.string() + ": " + ec.message());
    const FolderLock lock(portsDir);
    if (!lock.held())
        throw std::runtime_error("cannot lock " + portsDir.string());
    removeDeadLinks(portsDir);
    if (number) {
        if (!isFree(portsDir / ("COM" + std::to_string(*number))))
            throw std::runtime_error("COM" + std::to_string(*number) + " is taken in " +
                                     portsDir.string());
        number_ = *number;
    } else {
        for (int n = kFirstChoice; n >= 1 && number_ == 0; --n) {
            if (isFree(portsDir / ("COM" + std::to_string(n))))
                number_ = n;
        }
        if (number_ == 0)
            throw std::runtime_error("no free COM number in " + portsDir.string());
    }
    path_ = portsDir / name();
    // The owner comes first: a link without one would never be cleared.
    ownerPath_ = ownerFile(path_);
    writeOwner(ownerPath_);
    // Made under a temporary name and renamed, so a stale link is replaced in one step.
    const fs::path temp = temporaryFor(path_);
    fs::remove(temp, ec);
    fs::create_symlink(device_, temp, ec);
    if (!ec)
        fs::rename(temp, path_, ec);
    if (ec) {
        fs::remove(temp, ec);
        fs::remove(ownerPath_, ec);
        throw std::runtime_error("cannot create " + path_.string());
    }
    active_ = true;
}

fs::path PortLink::ownerFile(const fs::path& link) {
    fs::path owner = link;
    owner += ".owner";
    return owner;
}

PortLink::~PortLink() {
    remove();
}

void PortLink::remove() {
    if (!active_)
        return;
    active_ = false;
    std::error_code ec;
    const FolderLock lock(path_.parent_path());  // at worst unlocked: the link is ours to remove
    if (fs::read_symlink(path_, ec) == fs::path(device_) && !ec) {
        fs::remove(path_, ec);
        fs::remove(ownerPath_, ec);
    }
}

}  // namespace zelar::simtool
