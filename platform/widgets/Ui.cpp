#include "platform/widgets/Ui.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include "platform/core/AppInfo.h"
#include "platform/core/Exception.h"

namespace platform {

namespace {

// Moves a box to the centre of the screen that shows the program's window once the box
// has its final size, which a message box only knows when it is shown.
class CentreOnScreen : public QObject {
public:
    explicit CentreOnScreen(QScreen* screen) : screen_(screen) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && screen_) {
            auto* w = static_cast<QWidget*>(watched);
            QRect frame = w->frameGeometry();
            frame.moveCenter(screen_->availableGeometry().center());
            w->move(frame.topLeft());
        }
        return false;
    }

private:
    QScreen* screen_;
};

QWidget* ProgramWindow() {
    if (QWidget* w = QApplication::activeWindow()) return w;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !qobject_cast<QMessageBox*>(w)) return w;
    return nullptr;
}

void RunBox(QMessageBox::Icon icon, const QString& text) {
    QWidget* owner = ProgramWindow();
    QMessageBox box(icon, ApplicationTitle(), text, QMessageBox::Ok, owner);
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    CentreOnScreen centre(screen);
    box.installEventFilter(&centre);
    box.exec();
}

class QtUi final : public Ui {
public:
    void ShowMessage(const QString& text) override { RunBox(QMessageBox::NoIcon, text); }
    void Beep() override { QApplication::beep(); }
    void ShowErrorBox(const QString& text) override { RunBox(QMessageBox::Critical, text); }
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedName,
                            const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, suggestedName, filter);
    }
};

QtUi& RealUi() {
    static QtUi ui;
    return ui;
}

Ui* g_current = nullptr;

}  // namespace

QString Ui::GetSaveFileName(QWidget*, const QString&, const QString&, const QString&) {
    return QString();
}

Ui& CurrentUi() {
    return g_current ? *g_current : RealUi();
}

ScopedUi::ScopedUi(Ui& ui) : previous_(g_current) {
    g_current = &ui;
}
ScopedUi::~ScopedUi() {
    g_current = previous_;
}

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') return message + u'.';
    return message;
}

void ShowException(const std::exception& e) {
    CurrentUi().ShowErrorBox(ErrorBoxText(MessageOf(e)));
}

}  // namespace platform
