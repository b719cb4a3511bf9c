#include "platform/widgets/SingleInstance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include "platform/core/InstanceLock.h"

namespace platform {

namespace {

// What a second start sends, and what the owner answers once its window is in front.
const QByteArray kRaise = QByteArrayLiteral("raise\n");
const QByteArray kRaised = QByteArrayLiteral("raised\n");

}  // namespace

SingleInstance::SingleInstance(const QString& folder, const QString& runtimeDir, QObject* parent)
    : QObject(parent) {
    const QString dir = runtimeDir.isEmpty() ? RuntimeDir() : runtimeDir;
    if (dir.isEmpty()) return;
    const QString base = (dir.endsWith(u'/') ? dir : dir + u'/') + InstanceKey(folder);
    lockPath_ = base + QStringLiteral(".lock");
    socketPath_ = base + QStringLiteral(".sock");
    lock_ = std::make_unique<InstanceLock>(lockPath_);
    if (lock_->state() == InstanceLock::State::Held) Listen();
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Second() const {
    return lock_ && lock_->state() == InstanceLock::State::Taken;
}

void SingleInstance::Listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a killed owner would refuse the name; the lock says that no
    // living program uses it.
    QLocalServer::removeServer(socketPath_);
    // Without the socket (a path too long for one) the folder stays guarded; only the
    // raise on a second start is lost.
    if (!server_->listen(socketPath_)) return;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Answer);
}

void SingleInstance::Answer() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                // A caller that sends more than a short line without an end is cut off.
                if (socket->bytesAvailable() > 64) socket->abort();
                return;
            }
            const QByteArray line = socket->readLine(64);
            if (line == kRaise) {
                emit raiseRequested();
                socket->write(kRaised);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

bool SingleInstance::AskOwnerToRaise(int timeoutMs) const {
    if (socketPath_.isEmpty()) return false;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write(kRaise);
            if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
                return false;
            QByteArray answer;
            while (!answer.endsWith('\n') &&
                   socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                answer += socket.readAll();
            return answer == kRaised;
        }
        // The owner is still starting and not listening yet.
        QThread::msleep(50);
    }
    return false;
}

void BringToFront(QWidget* window) {
    if (!window || !window->isVisible()) return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->raise();
    window->activateWindow();
}

}  // namespace platform
