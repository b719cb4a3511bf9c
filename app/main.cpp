// The program block: the application object, the main window, its start-up, the message
// loop. The program reads no command line and no environment.
#include <exception>

#include "app/DesktopIdentity.h"
#include "formstate/SettingsDir.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Ui.h"
#include "window/MainForm.h"

int main(int, char** argv) {
    platform::Application app(argv[0]);
    TmainForm form;
    // Where settings.dat and its side files live, decided once before anything restores
    // or saves, from the very files the window's save writes.
    formstate::DecideSettingsDir();
    mainForm = &form;
    // Before the window is shown (the native window is made then) and before start-up,
    // whose message boxes carry the icon too.
    desktop::InstallIdentity();
    try {
        form.FormCreate();
    } catch (const std::exception& e) {
        // The rest of start-up is skipped; the window still opens.
        platform::ShowException(e);
    }
    // From now on every change is saved within a second (start-up's restore saves nothing).
    form.SetAutoSave(true);
    form.show();
    const int code = app.exec();
    mainForm = nullptr;
    return code;
}
