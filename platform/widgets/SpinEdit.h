// The spin box: an edit field with two small stacked arrow buttons inside its right edge,
// holding a whole number. Its value is its text read as an integer (not clamped while typing;
// text that is not an integer counts as the minimum). Typing accepts digits, signs and the
// decimal separator only; the buttons and the arrow keys step by the increment and clamp;
// leaving the box clamps; every change of the text, and only a change, fires Change.
#pragma once

#include <QChar>
#include <QWidget>

class QKeyEvent;
class QLineEdit;
class QToolButton;

namespace platform {

// Whether a typed character gets into the box: the digits 0 to 9, "+", "-", the decimal
// separator and control characters other than the carriage return (Enter).
bool IsSpinEditChar(QChar c, QChar decimalSeparator);

// value + delta limited to minValue .. maxValue, computed without overflow.
int SpinStep(int value, int delta, int minValue, int maxValue);

class TSpinEdit : public QWidget {
    Q_OBJECT
public:
    // Auto-repeat of a held button: first repeat after this delay, then at this interval.
    static constexpr int kRepeatDelayMs = 400;
    static constexpr int kRepeatIntervalMs = 100;

    explicit TSpinEdit(QWidget* parent = nullptr);

    // getters and setters; changing a bound does not touch the text.
    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    int Increment() const { return increment_; }
    void SetMinValue(int value) { minValue_ = value; }
    void SetMaxValue(int value) { maxValue_ = value; }
    void SetIncrement(int value) { increment_ = value; }

    QString Text() const;
    // Writing the text the box already shows is no change and fires nothing.
    void SetText(const QString& text);
    // The text read as an integer, or MinValue() when it is not one; not clamped.
    int Value() const;
    // Clamps to MinValue() .. MaxValue() and writes the decimal text.
    void SetValue(int value);

    // The parts, owned by the box.
    QLineEdit* Editor() const { return editor_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The text changed (typing, pasting, buttons, keys, the clamp on leaving, or the program).
    void Change();

protected:
    // reimplemented virtual methods:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Handles a key press meant for the editor; true when the key was used up here.
    bool HandleKey(QKeyEvent* event);
    void Step(int delta);
    void PlaceButtons();

    QLineEdit* editor_;
    QToolButton* up_;
    QToolButton* down_;
    int minValue_ = 0;
    int maxValue_ = 100;
    int increment_ = 1;
};

}  // namespace platform
