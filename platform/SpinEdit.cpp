#include "platform/SpinEdit.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "platform/IntConvert.h"

namespace platform {

TSpinEdit::TSpinEdit(QWidget* parent) : QWidget(parent) {
    editor_ = new QLineEdit(this);
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setFocusPolicy(Qt::NoFocus);
    down_->setFocusPolicy(Qt::NoFocus);
    up_->setAutoRepeat(true);
    down_->setAutoRepeat(true);
    up_->setAutoRepeatDelay(400);
    down_->setAutoRepeatDelay(400);
    up_->setAutoRepeatInterval(100);
    down_->setAutoRepeatInterval(100);
    setFocusProxy(editor_);
    setFocusPolicy(Qt::StrongFocus);
    editor_->installEventFilter(this);
    connect(editor_, &QLineEdit::textChanged, this, &TSpinEdit::Change);
    connect(up_, &QToolButton::clicked, this, [this] { Step(increment_); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-increment_); });
}

QString TSpinEdit::Text() const { return editor_->text(); }

void TSpinEdit::SetText(const QString& text) {
    if (editor_->text() != text) editor_->setText(text);
}

int TSpinEdit::Value() const { return StrToIntDef(editor_->text(), minValue_); }

int TSpinEdit::Clamp(int value) const { return std::max(minValue_, std::min(value, maxValue_)); }

void TSpinEdit::SetValue(int value) { SetText(QString::number(Clamp(value))); }

void TSpinEdit::Step(int delta) {
    const long long next = static_cast<long long>(Value()) + delta;
    SetValue(static_cast<int>(std::max<long long>(INT32_MIN, std::min<long long>(INT32_MAX, next))));
}

void TSpinEdit::resizeEvent(QResizeEvent*) {
    const int buttonWidth = 16;
    const int h = height();
    editor_->setGeometry(0, 0, width() - buttonWidth, h);
    up_->setGeometry(width() - buttonWidth, 0, buttonWidth, h / 2);
    down_->setGeometry(width() - buttonWidth, h / 2, buttonWidth, h - h / 2);
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Up) {
                Step(increment_);
                return true;
            }
            if (key->key() == Qt::Key_Down) {
                Step(-increment_);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            const int v = Value();
            if (v != Clamp(v)) SetValue(v);
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace platform
