// The program block: the application object, the main window, its start-up, the message
// loop. The program reads no command line; of the environment only what Qt and the folders
// of the user (data, runtime) need.
#include <QCoreApplication>
#include <QSessionManager>
#include <exception>

#include "app/DesktopIdentity.h"
#include "formstate/SettingsDir.h"
#include "platform/core/SignalPipe.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/SingleInstance.h"
#include "platform/widgets/Ui.h"
#include "window/MainForm.h"

int main(int, char** argv) {
    platform::Application app(argv[0]);
    TmainForm form;
    // Where settings.dat and its side files live, decided once before anything restores
    // or saves, from the very files the window's save writes.
    formstate::DecideSettingsDir();
    // One window per settings folder: when a window already runs on this folder, it comes
    // to the front and this start ends here, before it restores, shows or writes anything.
    platform::SingleInstance instance(formstate::SettingsDir());
    if (instance.Second()) {
        instance.AskOwnerToRaise();
        return 0;
    }
    QObject::connect(&instance, &platform::SingleInstance::raiseRequested, &form,
                     [&form] { platform::BringToFront(&form); });
    // SIGTERM, SIGINT and SIGHUP close the window as its close button does: the numbers are
    // saved, and when the save fails the error box shows and the window stays. A signal
    // that comes during start-up waits for its end.
    platform::SignalPipe signalPipe(platform::TerminationSignals());
    signalPipe.SetEnabled(false);
    bool closingOnSignal = false;
    QObject::connect(&signalPipe, &platform::SignalPipe::received, &form, [&] {
        if (closingOnSignal) return;  // one close at a time; its error box may be open
        closingOnSignal = true;
        const bool closed = form.close();
        closingOnSignal = false;
        // Ends every event loop, a message box's among them, with the program's code 0.
        if (closed) QCoreApplication::exit(0);
    });
    // The desktop session ends: the numbers are saved now, whatever comes after.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager& manager) {
                         try {
                             form.FormClose();
                         } catch (const std::exception& e) {
                             if (manager.allowsErrorInteraction()) {
                                 platform::ShowException(e);
                                 manager.release();
                             }
                         }
                     });
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
    signalPipe.SetEnabled(true);
    const int code = app.exec();
    mainForm = nullptr;
    return code;
}
