// What the program shows and sounds outside its own window: the modal message box, the
// error box, the default beep and the standard dialog that asks where to save a file. Everything
// goes through one replaceable interface, so tests record the calls instead of blocking on a modal
// box.
#pragma once

#include <QString>
#include <exception>

class QWidget;

namespace platform {

class Ui {
public:
    virtual ~Ui() = default;
    // A modal box captioned with the application title, no icon, one OK button, centred on
    // the screen of the active window. Returns when the user has closed it.
    virtual void ShowMessage(const QString& text) = 0;
    // The system's default beep.
    virtual void Beep() = 0;
    // A modal box captioned with the application title, an error icon and one OK button.
    // `text` is shown as given (ErrorBoxText has already been applied).
    virtual void ShowErrorBox(const QString& text) = 0;
    // The system's modal dialog for saving a file, over `parent`: the chosen path, or an
    // empty text when the user cancelled. `filter` lists the file kinds offered. This base
    // answers as if cancelled.
    virtual QString GetSaveFileName(QWidget* parent, const QString& caption,
                                    const QString& suggestedName, const QString& filter);
};

// Where the save dialog opens: `lastFolder` (the folder last saved into while the program
// runs) while it exists, else the user's Pictures folder where it exists, else home.
QString SaveDialogStartFolder(const QString& lastFolder);

// The interface in force: the real boxes unless a ScopedUi replaces it.
Ui& CurrentUi();

// Puts `ui` in force for the lifetime of this object (tests), then restores the previous one.
class ScopedUi {
public:
    explicit ScopedUi(Ui& ui);
    ~ScopedUi();
    ScopedUi(const ScopedUi&) = delete;
    ScopedUi& operator=(const ScopedUi&) = delete;

private:
    Ui* previous_;
};

// The error box's text: the message with a full stop appended when its last character has
// a code above that of the full stop.
QString ErrorBoxText(const QString& message);

inline void ShowMessage(const QString& text) {
    CurrentUi().ShowMessage(text);
}
inline void MessageBeep() {
    CurrentUi().Beep();
}
// Shows an exception's message in the error box; the program goes on.
void ShowException(const std::exception& e);

}  // namespace platform
