#include "platform/widgets/Ui.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTreeView>
#include <QWidget>
#include <algorithm>

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
    // Opens in the folder the user last saved into while the program runs, else in the
    // Pictures folder where there is one, else in the home folder; wide enough that the
    // file list's columns show their texts whole.
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedName,
                            const QString& filter) override {
        QFileDialog dialog(parent, caption, SaveDialogStartFolder(lastFolder_), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(suggestedName);
        if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
            // Size, kind and date as wide as their texts; the name takes the rest.
            QHeaderView* header = details->header();
            header->setStretchLastSection(false);
            header->setSectionResizeMode(0, QHeaderView::Stretch);
            for (int column = 1; column < header->count(); ++column)
                header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
        const QRect screen =
            (parent ? parent->screen() : QGuiApplication::primaryScreen())->availableGeometry();
        dialog.resize(std::min(900, screen.width() - 40), std::min(520, screen.height() - 60));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        const QString path = dialog.selectedFiles().constFirst();
        lastFolder_ = QFileInfo(path).absolutePath();
        return path;
    }

private:
    QString lastFolder_;
};

QtUi& RealUi() {
    static QtUi ui;
    return ui;
}

Ui* g_current = nullptr;

}  // namespace

QString SaveDialogStartFolder(const QString& lastFolder) {
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) return lastFolder;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir()) return pictures;
    return QDir::homePath();
}

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
