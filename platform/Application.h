// The application object. It catches any exception that escapes an event handler, shows
// its message in the error box and lets the program go on.
#pragma once

#include <QApplication>

namespace platform {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace platform
