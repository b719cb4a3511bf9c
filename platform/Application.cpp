#include "platform/Application.h"

#include <QFont>
#include <QFontDatabase>

#include "platform/Locale.h"
#include "platform/SettingsDir.h"
#include "platform/Ui.h"

namespace platform {

namespace {

// The window's design font is Tahoma, which Linux desktops rarely have. Fontconfig would
// fall back to DejaVu Sans, about 15 % wider, which runs the page-size label into its box;
// the condensed DejaVu face matches Tahoma's height and width closely.
void InstallFontSubstitutes() {
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")) &&
        QFontDatabase::families().contains(QStringLiteral("DejaVu Sans Condensed")))
        QFont::insertSubstitution(QStringLiteral("Tahoma"),
                                  QStringLiteral("DejaVu Sans Condensed"));
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    LoadFormatSettingsFromSystem();
    InstallFontSubstitutes();
    // Decided once, before anything restores or saves.
    SettingsDir();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        CurrentUi().ShowErrorBox(ErrorBoxText(QStringLiteral("Unknown exception")));
    }
    return false;
}

}  // namespace platform
