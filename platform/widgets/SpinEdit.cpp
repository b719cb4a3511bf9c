#include "platform/widgets/SpinEdit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>
#include <algorithm>

#include "platform/core/IntConvert.h"
#include "platform/core/Locale.h"
#include "platform/widgets/Ui.h"

namespace platform {

namespace {

// Design size of the box and width of the button column, in device-independent pixels.
constexpr int kDesignWidth = 73;
constexpr int kDesignHeight = 22;
constexpr int kButtonWidth = 15;

// The first character of the locale's decimal separator, or nothing when it is empty.
QChar DecimalSeparatorChar() {
    const QString& separator = Formats().decimalSeparator;
    return separator.isEmpty() ? QChar() : separator.front();
}

// Whether the key would type a character that the box refuses. Keys that type nothing
// (arrows, Home, function keys) pass, and so do Ctrl shortcuts (copy, paste, cut, select
// all, undo): they stand for control characters, which are accepted. Ctrl together with
// Alt is AltGr on some keyboards and types real characters, which are checked.
bool TypesRefusedText(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty()) return false;
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) return false;
    const QChar separator = DecimalSeparatorChar();
    return std::any_of(text.begin(), text.end(),
                       [separator](QChar c) { return !IsSpinEditChar(c, separator); });
}

// One of the two arrow buttons: a flat face in the button colour with a separating line on
// its left (and, for the lower one, on its top) and a small arrow, the way spin buttons
// look inside an edit field. Behaviour is QToolButton's.
class SpinButton : public QToolButton {
public:
    SpinButton(Qt::ArrowType arrow, QWidget* parent) : QToolButton(parent) {
        setArrowType(arrow);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QColor face = palette().color(QPalette::Button);
        if (!isEnabled())
            face = palette().color(QPalette::Window);
        else if (isDown())
            face = face.darker(115);
        else if (underMouse())
            face = face.lighter(106);
        painter.fillRect(rect(), face);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(0, 0, 0, height() - 1);
        if (arrowType() == Qt::DownArrow) painter.drawLine(0, 0, width() - 1, 0);

        QStyleOption option;
        option.initFrom(this);
        const int side = std::max(4, std::min(width() - 4, height() + 2));
        option.rect = QRect(0, 0, side, side);
        option.rect.moveCenter(rect().center() + QPoint(1, arrowType() == Qt::DownArrow ? 1 : 0));
        const auto primitive = arrowType() == Qt::UpArrow ? QStyle::PE_IndicatorArrowUp
                                                          : QStyle::PE_IndicatorArrowDown;
        style()->drawPrimitive(primitive, &option, &painter, this);
    }
};

}  // namespace

bool IsSpinEditChar(QChar c, QChar decimalSeparator) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return true;
    if (u == u'+' || u == u'-') return true;
    if (!decimalSeparator.isNull() && c == decimalSeparator) return true;
    // Control characters: Backspace, Tab, Escape, Delete and the Ctrl+letter codes, but
    // not the carriage return that Enter types.
    return (u < 0x20 && u != u'\r') || u == 0x7F;
}

int SpinStep(int value, int delta, int minValue, int maxValue) {
    const long long next = static_cast<long long>(value) + delta;
    const long long upper = std::min<long long>(next, maxValue);
    return static_cast<int>(std::max<long long>(minValue, upper));
}

TSpinEdit::TSpinEdit(QWidget* parent) : QWidget(parent) {
    editor_ = new QLineEdit(this);
    editor_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    editor_->setTextMargins(0, 0, kButtonWidth, 0);
    // Every typed character goes through the key filter; an input method would commit
    // text behind its back.
    editor_->setAttribute(Qt::WA_InputMethodEnabled, false);
    editor_->installEventFilter(this);

    // The buttons sit inside the edit field's frame, stacked at its right edge.
    up_ = new SpinButton(Qt::UpArrow, editor_);
    down_ = new SpinButton(Qt::DownArrow, editor_);
    for (QToolButton* button : {up_, down_}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::ArrowCursor);
        button->setAutoRepeat(true);
        button->setAutoRepeatDelay(kRepeatDelayMs);
        button->setAutoRepeatInterval(kRepeatIntervalMs);
        // Pressing a button brings the focus into the box, so leaving it later clamps.
        connect(button, &QToolButton::pressed, this, [this] {
            if (!editor_->hasFocus()) editor_->setFocus(Qt::MouseFocusReason);
        });
    }

    setFocusProxy(editor_);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    resize(kDesignWidth, kDesignHeight);

    // textChanged fires once for each real change, whether typed, pasted, undone or set by
    // the program; QLineEdit::setText with the same text fires nothing.
    connect(editor_, &QLineEdit::textChanged, this, &TSpinEdit::Change);
    connect(up_, &QToolButton::clicked, this, [this] { Step(increment_); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-increment_); });
}

QString TSpinEdit::Text() const {
    return editor_->text();
}

void TSpinEdit::SetText(const QString& text) {
    if (editor_->text() != text) editor_->setText(text);
}

int TSpinEdit::Value() const {
    return StrToIntDef(editor_->text(), minValue_);
}

void TSpinEdit::SetValue(int value) {
    SetText(QString::number(SpinStep(value, 0, minValue_, maxValue_)));
}

void TSpinEdit::Step(int delta) {
    SetValue(SpinStep(Value(), delta, minValue_, maxValue_));
}

QSize TSpinEdit::sizeHint() const {
    return {kDesignWidth, std::max(kDesignHeight, editor_->minimumSizeHint().height())};
}

QSize TSpinEdit::minimumSizeHint() const {
    return {kButtonWidth * 2, editor_->minimumSizeHint().height()};
}

void TSpinEdit::resizeEvent(QResizeEvent*) {
    editor_->setGeometry(rect());
    PlaceButtons();
}

void TSpinEdit::PlaceButtons() {
    // Inside the frame of the edit field: the top half for up, the rest for down.
    const int frame = editor_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, editor_);
    const QRect inner = editor_->rect().adjusted(frame, frame, -frame, -frame);
    const int width = std::min(kButtonWidth, inner.width());
    const int x = inner.right() + 1 - width;
    const int upHeight = inner.height() / 2;
    up_->setGeometry(x, inner.top(), width, upHeight);
    down_->setGeometry(x, inner.top() + upHeight, width, inner.height() - upHeight);
}

bool TSpinEdit::HandleKey(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            Step(increment_);
            break;
        case Qt::Key_Down:
            Step(-increment_);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            MessageBeep();
            break;
        default:
            if (!TypesRefusedText(*event)) return false;
            MessageBeep();
            break;
    }
    event->accept();
    return true;
}

// Key events sent to the box itself (rather than to the editor that has the focus) are
// handled as if they had reached the editor.
void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(event)) static_cast<QObject*>(editor_)->event(event);
}

void TSpinEdit::keyReleaseEvent(QKeyEvent* event) {
    static_cast<QObject*>(editor_)->event(event);
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editor_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress:
            if (HandleKey(static_cast<QKeyEvent*>(event))) return true;
            break;
        case QEvent::FocusOut: {
            // Leaving the box for another control clamps the value. Opening the context
            // menu or switching to another window does not leave it.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                const int value = Value();
                if (SpinStep(value, 0, minValue_, maxValue_) != value) SetValue(value);
            }
            break;
        }
        case QEvent::StyleChange:
        case QEvent::Resize:
            PlaceButtons();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace platform
