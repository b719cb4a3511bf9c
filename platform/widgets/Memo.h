// The multi-line edit box: plain text, word wrap, a vertical scroll bar, Tab moves the focus
// on, and Enter never inserts a line break. Key presses go to the owner's key-down handler
// first, which may swallow them by setting the key to 0. Setting the text replaces only the
// part that differs, so a long list with one changed character is not laid out anew.
#pragma once

#include <QPlainTextEdit>
#include <functional>

namespace platform {

class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);

    // The whole text exactly as the box holds it, its line breaks as "\n" (no other
    // character is changed: a no-break space stays one, a line separator U+2028 too).
    // Copied out of the document only after a change other than SetText: with the whole
    // list in one paragraph, a copy costs as much as the list is long.
    QString Text() const;
    // The length of Text() in UTF-16 units, without copying it.
    int TextLength() const;
    // Replaces the text when it differs from what the box shows; the undo history starts
    // afresh, as after any text the program sets. Line breaks of every kind ("\r\n", "\r",
    // "\n", and U+2029, U+FDD0 and U+FDD1, which the box can only hold as line breaks)
    // become one "\n" each.
    void SetText(const QString& text);
    // SetText(Text() + tail), without copying the text out of the document or comparing it.
    void AppendText(const QString& tail);

    // Caret position in UTF-16 units, and the selection's length. Setting the position the
    // caret already has, with nothing selected, leaves the caret alone (placing it would
    // measure its line again).
    int SelStart() const;
    void SetSelStart(int position);
    int SelLength() const;

    int LineCount() const;

    // How often this box copied its whole text out of the document (Text and the
    // comparison in SetText) and how often SetText edited the document: with the whole
    // list in one paragraph, each edit lays the paragraph out anew. For benchmarks.
    long TextExtractions() const { return extractions_; }
    long TextEdits() const { return edits_; }

    // Key-down handler: gets the Qt key code and the modifiers; setting the key to 0 stops
    // any further handling of the key.
    std::function<void(int& key, Qt::KeyboardModifiers shift)> OnKeyDown;

    // Lays the (usually still empty) box out for its current size now, as showing it would:
    // a text set afterwards is laid out once, at the width it is shown with, and showing
    // does not lay it out again.
    void SettleSize();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Qt lays the whole document out again on every resize that it takes for a change of
    // width, the first one after showing included; with the whole list in one paragraph
    // that is as slow as setting the text. A resize that leaves the text width as it is
    // keeps the layout.
    void resizeEvent(QResizeEvent* event) override;

private:
    void Edit(qsizetype from, qsizetype to, const QString& replacement);

    int laidOutWidth_ = -1;  // the viewport width of the last resize that laid the text out
    mutable QString text_;   // the last text copied out, valid until the document changes
    mutable bool textValid_ = false;
    mutable long extractions_ = 0;
    long edits_ = 0;
};

}  // namespace platform
