// The application object: what Qt is given of the command line (the program's name only),
// and the error box for any exception that escapes an event handler.
#pragma once

#include <QApplication>

namespace platform {

// The application object. It catches any exception that escapes an event handler, shows
// its message in the error box and lets the program go on.
class Application : public QApplication {
    Q_OBJECT
public:
    // Qt gets `programName` (argv[0]) alone as its command line. The program reads no
    // command line, so options meant for Qt (-style, -stylesheet, -reverse, -qwindowtitle,
    // -platform, ...) must not change the window either.
    explicit Application(const char* programName);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Qt's own texts (context menus, file dialogs, standard buttons) follow the program's
// Russian: installs Qt's Russian translation qtbase_ru.qm from `folder` on the running
// application. False, and nothing installed or said, when it cannot be loaded there (a
// portable copy on a system without it keeps Qt's English).
bool InstallQtTranslation(const QString& folder);

// The folder where Qt's translations are installed (QLibraryInfo).
QString QtTranslationsFolder();

}  // namespace platform
