// The spin box: an edit field with up and down buttons holding a whole number. Its value is
// its text read as an integer (not clamped while typing; text that is not an integer counts
// as the minimum). The buttons and the arrow keys step by the increment and clamp; leaving
// the box clamps; every change of the text, and only a change, fires Change.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace platform {

class TSpinEdit : public QWidget {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    int Increment() const { return increment_; }
    void SetMinValue(int value) { minValue_ = value; }
    void SetMaxValue(int value) { maxValue_ = value; }
    void SetIncrement(int value) { increment_ = value; }

    QString Text() const;
    // Writing the text the box already shows is no change.
    void SetText(const QString& text);
    // The text read as an integer, or MinValue() when it is not one; not clamped.
    int Value() const;
    // Clamps to MinValue() .. MaxValue() and writes the decimal text.
    void SetValue(int value);

    QLineEdit* Editor() const { return editor_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    // The text changed (typing, buttons, keys, the clamp on leaving, or the program).
    void Change();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int delta);
    int Clamp(int value) const;

    QLineEdit* editor_;
    QToolButton* up_;
    QToolButton* down_;
    int minValue_ = 0;
    int maxValue_ = 100;
    int increment_ = 1;
};

}  // namespace platform
