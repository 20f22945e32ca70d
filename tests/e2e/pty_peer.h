#pragma once

#include <QSocketNotifier>
#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace zelar::test {

// The far end of a pseudo-terminal, registered as COM<n> by a link in a ports folder. It runs
// on the event loop: whatever the program sends is handed to `onReceived`.
class PtyPeer {
  public:
    PtyPeer(const QString& portsFolder, int portNumber);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool ok() const { return master_ >= 0; }
    void send(const std::string& bytes);
    // Hangs up: the program's side sees the line go away.
    void hangUp();

    std::function<void(const std::string& received)> onReceived;
    std::string received;

  private:
    void readMaster();

    int master_ = -1;
    int slave_ = -1;  // kept open so the master never reads EIO while the program is away
    QString link_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace zelar::test
