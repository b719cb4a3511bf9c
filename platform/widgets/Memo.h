// The multi-line edit box: plain text, word wrap, a vertical scroll bar, Tab moves the focus
// on, and Enter never inserts a line break. Key presses go to the owner's key-down handler
// first, which may swallow them by setting the key to 0. Built on TextBox, so an edit and a
// caret blink cost the same at any length of the list; setting the text replaces only the
// part that differs.
#pragma once

#include <QString>
#include <functional>

#include "platform/widgets/TextBox.h"

namespace platform {

class TMemo : public TextBox {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);

    // The whole text exactly as the box holds it, its line breaks as "\n" (no other
    // character is changed: a no-break space stays one, a line separator U+2028 too).
    // Copied out of the box only after a change: a copy costs as much as the list is long.
    QString Text() const;
    // The length of Text() in UTF-16 units, without copying it.
    int TextLength() const;
    // Replaces the text when it differs from what the box shows; the undo history starts
    // afresh, as after any text the program sets. Line breaks of every kind ("\r\n", "\r",
    // "\n", and U+2029, U+FDD0 and U+FDD1) become one "\n" each.
    void SetText(const QString& text);
    // SetText(Text() + tail), without copying the text out of the box or comparing it.
    void AppendText(const QString& tail);

    // Caret position in UTF-16 units, and the selection's length. Setting the position the
    // caret already has, with nothing selected, leaves the caret alone.
    int SelStart() const;
    void SetSelStart(int position);
    int SelLength() const;

    // Rows of the wrapped text.
    int LineCount() const;

    // How often this box copied its whole text out (Text and the comparison in SetText) and
    // how often SetText or AppendText edited the text. For benchmarks and tests.
    long TextExtractions() const { return extractions_; }
    long TextEdits() const { return edits_; }

    // Key-down handler: gets the Qt key code and the modifiers; setting the key to 0 stops
    // any further handling of the key.
    std::function<void(int& key, Qt::KeyboardModifiers shift)> OnKeyDown;

    // Lays the (usually still empty) box out for its current size now, as showing it would:
    // a text set afterwards is wrapped once, at the width it is shown with.
    void SettleSize();

    // The calls of a plain text edit that tests and benchmarks use. setPlainText replaces
    // the whole text (line breaks as SetText has them), puts the caret at the start, shows
    // the top and starts the undo history afresh; insertPlainText puts text in place of the
    // selection as pasting does (one step of the undo history); clear empties the box.
    void setPlainText(const QString& text);
    void insertPlainText(const QString& text);
    void clear() { setPlainText(QString()); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Edit(qsizetype from, qsizetype to, const QString& replacement);

    mutable QString text_;  // the last text copied out, valid until the text changes
    mutable bool textValid_ = false;
    mutable long extractions_ = 0;
    long edits_ = 0;
};

}  // namespace platform
