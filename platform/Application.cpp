#include "platform/Application.h"

#include "platform/Locale.h"
#include "platform/Ui.h"

namespace platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    LoadFormatSettingsFromSystem();
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
