// One running window per folder. The first start for a folder holds the folder's lock
// (platform/core/InstanceLock.h) and listens on a local socket beside it; a later start
// for the same folder finds the lock taken, asks the first over the socket to bring its
// window to the front, and ends. Both live in the user's runtime directory.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QWidget;

namespace platform {

class InstanceLock;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Tries to take the lock of `folder` in `runtimeDir` (RuntimeDir() when empty). Writes
    // nothing anywhere else.
    explicit SingleInstance(const QString& folder, const QString& runtimeDir = QString(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // Another running program owns the folder: this one should ask it to show itself and
    // end. False for the owner, and when no lock could be had at all (no usable runtime
    // directory): then the program runs unguarded, as it would without this.
    bool Second() const;

    // For a second start: asks the owner to bring its window to the front and waits up to
    // `timeoutMs` for its answer (the owner may still be starting and not yet listening).
    // True when the owner answered.
    bool AskOwnerToRaise(int timeoutMs = 3000) const;

    // The socket's and the lock's paths (empty without a runtime directory).
    QString SocketPath() const { return socketPath_; }
    QString LockPath() const { return lockPath_; }

signals:
    // A second start asked the owner to show its window.
    void raiseRequested();

private:
    void Listen();
    void Answer();

    QString socketPath_;
    QString lockPath_;
    std::unique_ptr<InstanceLock> lock_;
    QLocalServer* server_ = nullptr;  // a Qt child of this object, the owner's only
};

// Brings `window` to the front: restored from the taskbar when minimised, raised above the
// other windows and given the focus when the window system allows it (under X a window
// manager may refuse the focus; the raise still happens). A window not shown yet is left
// alone: it comes up in front when it is shown.
void BringToFront(QWidget* window);

}  // namespace platform
