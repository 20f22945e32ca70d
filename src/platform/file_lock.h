#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace zelar {

class FileLock;

struct FileLockAttempt {
    std::shared_ptr<FileLock> lock;  // the lock taken, or none
    // Another program holds the file. Without a lock and without this, no lock file can be
    // made beside the file (a folder that takes no new file): then nobody can store into it
    // through the atomic writer either, and the caller goes on without a lock.
    bool heldElsewhere = false;
};

// A settings file held for changes by one program at a time: two programs that each store into
// the same file would otherwise each write their own copy over the other's change.
//
// The lock is a file beside the one it guards (".NAME.lock"), held with the system's own lock
// on it, which the system lets go when the program ends in any way: a lock file left behind by
// a killed program is taken over by the next one. The holder removes it as it lets go.
class FileLock {
  public:
    // Takes the lock of the file at `path` (which need not exist yet); never waits.
    static FileLockAttempt take(const std::string& path);

    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // The guarded file as the lock knows it (lockTarget).
    const std::string& target() const { return target_; }

  private:
    FileLock(std::string target, std::string lockName, std::intptr_t handle)
        : target_(std::move(target)), lockName_(std::move(lockName)), handle_(handle) {}

    std::string target_;
    std::string lockName_;
    std::intptr_t handle_;  // the open lock file: a descriptor, or a Windows handle
};

// The guarded file's path as a lock names it: absolute, links followed, so that two names of
// one file share its lock.
std::string lockTarget(const std::string& path);

// The lock file's path for a guarded file's path.
std::string lockFileName(const std::string& target);

}  // namespace zelar
