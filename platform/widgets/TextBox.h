// A plain-text box whose cost per edit and at rest does not grow with its text: the text,
// its paragraphs and its wrapped rows live in a WrappedText, only the rows in view are
// shaped (one QTextLayout each) and painted, and the caret's blink repaints the caret alone.
// It wraps at spaces at the viewport's width with the margins of Qt's plain text edit,
// scrolls by rows, and offers caret and selection by keyboard and mouse, the clipboard,
// undo and redo, the standard context menu and input methods.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QMenu>
#include <QString>
#include <vector>

#include "platform/core/WrappedText.h"

namespace platform {

class TextBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    QString toPlainText() const { return text_.text(); }
    qsizetype length() const { return text_.size(); }
    const WrappedText& model() const { return text_; }
    // Replaces the characters from `from` to `to`; the undo history starts afresh, the
    // caret goes to the replacement's end when it stood in or after the replaced range.
    void replaceRange(qsizetype from, qsizetype to, const QString& text);

    // Puts `text` in place of the selection (at the caret), as typing or pasting would:
    // one step of the undo history.
    void insertText(const QString& text) { insertAtCaret(text, false); }

    qsizetype cursorPosition() const { return caret_; }
    qsizetype selectionStart() const { return std::min(anchor_, caret_); }
    qsizetype selectionEnd() const { return std::max(anchor_, caret_); }
    bool hasSelection() const { return anchor_ != caret_; }
    // Puts the caret at `position`; with `keepAnchor` the selection runs from the anchor.
    void setCursorPosition(qsizetype position, bool keepAnchor = false);
    void ensureCursorVisible();

    bool isUndoAvailable() const { return !undo_.empty(); }
    bool isRedoAvailable() const { return !redo_.empty(); }
    void clearUndoRedo();

    // Rows of the wrapped text, and the first row in view.
    qsizetype rowCount() const { return text_.rowCount(); }
    int rowHeight() const { return rowHeight_; }

    // The position under a point of the viewport, and the viewport rectangle of the
    // character at a position (empty when its row is out of view).
    qsizetype positionAt(const QPoint& point) const;
    QRect characterRect(qsizetype position) const;

    // The menu a right click shows, in Qt's own words (translated as Qt's text edits are).
    QMenu* createStandardContextMenu();

public slots:
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void selectAll();

signals:
    void textChanged();
    // Each edit of the text: where, how many characters went and how many came (emitted
    // before textChanged).
    void contentsChange(int position, int removed, int added);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Edit {
        qsizetype position;
        QString removed, inserted;
    };

    // An edit by the user: recorded for undo (typing merges into the step before it).
    void userEdit(qsizetype from, qsizetype to, const QString& text, bool mergeTyping = false);
    void insertAtCaret(const QString& text, bool typing);
    void applyEdit(qsizetype position, qsizetype removed, const QString& inserted);
    void rewrap();
    void updateScrollBar();
    void restartBlink();
    QRect caretRect() const;
    // The viewport's y of a row's top, and the row under a viewport y.
    int rowTop(qsizetype row) const;
    qsizetype wordStartBefore(qsizetype position) const;
    qsizetype wordEndAfter(qsizetype position) const;
    qsizetype nextCharacter(qsizetype position) const;
    qsizetype previousCharacter(qsizetype position) const;
    qsizetype verticalMove(qsizetype position, qsizetype rows) const;
    qreal xOf(qsizetype position) const;
    qsizetype caretEndOf(qsizetype row) const;
    qsizetype topRow() const;
    int visibleRows() const;

    WrappedText text_;
    qsizetype caret_ = 0;
    qsizetype anchor_ = 0;
    qreal desiredX_ = -1;  // the x that up and down keep, or -1
    std::vector<Edit> undo_, redo_;
    bool lastWasTyping_ = false;
    int rowHeight_ = 0;
    int margin_ = 4;
    QBasicTimer blink_;
    bool caretShown_ = false;
    QString preedit_;
    QPoint pressPoint_;
    bool dragging_ = false;
    qsizetype wordAnchorStart_ = -1, wordAnchorEnd_ = -1;
};

}  // namespace platform
