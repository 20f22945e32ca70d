#include "e2e/pty_peer.h"

#include <errno.h>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

namespace zelar::test {

PtyPeer::PtyPeer(const QString& portsFolder, int portNumber) {
    termios raw{};
    cfmakeraw(&raw);
    char name[256] = {};
    if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    QDir().mkpath(portsFolder);
    link_ = portsFolder + "/COM" + QString::number(portNumber);
    QFile::remove(link_);
    QFile::link(QString::fromLocal8Bit(name), link_);
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readMaster(); });
}

PtyPeer::~PtyPeer() {
    hangUp();
    if (!link_.isEmpty())
        QFile::remove(link_);
}

void PtyPeer::send(const std::string& bytes) {
    if (master_ >= 0)
        (void)::write(master_, bytes.data(), bytes.size());
}

void PtyPeer::hangUp() {
    notifier_.reset();
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}

void PtyPeer::readMaster() {
    char buffer[512];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n < 0 && errno == EAGAIN)
        return;
    if (n <= 0) {
        notifier_->setEnabled(false);
        return;
    }
    const std::string chunk(buffer, static_cast<std::size_t>(n));
    received += chunk;
    if (onReceived)
        onReceived(chunk);
}

}  // namespace zelar::test
