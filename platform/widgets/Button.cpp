#include "platform/widgets/Button.h"

#include <QKeyEvent>

namespace platform {

TButton::TButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void TButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // One click per press: a held Enter does not repeat it, as a held Space does not.
        if (!event->isAutoRepeat()) click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace platform
