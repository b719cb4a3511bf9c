// The program's exception type: a message text that reaches the user unchanged, in the
// error box when it escapes an event handler. The chart engine's and the settings store's
// exception classes derive from it.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace platform {

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// The message of any exception: ours as it stands, others decoded from UTF-8.
QString MessageOf(const std::exception& e);

}  // namespace platform
