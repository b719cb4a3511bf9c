#include "platform/widgets/Memo.h"

#include <QCoreApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPlainTextDocumentLayout>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace platform {

namespace {

// The box's document layout. For an edit within one paragraph Qt's layout first asks for
// the paragraph's old bounding rectangle, but the edit has already emptied the
// paragraph's lines, so that question lays the whole new paragraph out, and then it is
// laid out again. Here the question gets the rectangle the paragraph had before the edit
// (kept whenever one is computed), and the paragraph is laid out once.
class MemoLayout : public QPlainTextDocumentLayout {
public:
    explicit MemoLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {}

    QRectF blockBoundingRect(const QTextBlock& block) const override {
        if (inChange_ && block.isValid() && block.layout() && block.layout()->lineCount() == 0) {
            const auto it = rects_.constFind(block.blockNumber());
            if (it != rects_.constEnd()) return *it;
        }
        const QRectF r = QPlainTextDocumentLayout::blockBoundingRect(block);
        if (block.isValid()) {
            if (rects_.size() > kMaxKept) rects_.clear();
            rects_.insert(block.blockNumber(), r);
        }
        return r;
    }

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override {
        // Block numbers may shift: rectangles from before are only trusted for the block of
        // a change that keeps the number of blocks.
        if (document()->blockCount() != blocks_) rects_.clear();
        blocks_ = document()->blockCount();
        inChange_ = true;
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        inChange_ = false;
    }

private:
    static constexpr int kMaxKept = 1024;
    mutable QHash<int, QRectF> rects_;
    int blocks_ = 0;
    bool inChange_ = false;
};

}  // namespace

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
    auto* doc = new QTextDocument(this);          // owned by the box
    doc->setDocumentLayout(new MemoLayout(doc));  // owned by the document
    setDocument(doc);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    connect(doc, &QTextDocument::contentsChange, this, [this] { textValid_ = false; });
    connect(doc, &QTextDocument::contentsChanged, this, [this] { textValid_ = false; });
}

QString TMemo::Text() const {
    if (!textValid_) {
        ++extractions_;
        // The characters as the document holds them, paragraphs joined by "\n". (The
        // plain-text export would also turn a no-break space into a space and a line
        // separator U+2028 into "\n", so the list read and saved would not be the one shown.)
        text_ = document()->toRawText();
        text_.replace(QChar::ParagraphSeparator, QChar(u'\n'));
        textValid_ = true;
    }
    return text_;
}

int TMemo::TextLength() const {
    // Every paragraph ends in one separator, the last one included; the plain text has one
    // "\n" between paragraphs and none after the last.
    return document()->characterCount() - 1;
}

namespace {

// The text as the document holds it: every character that inserting text turns into a
// paragraph break ("\r\n", a lone "\r", "\n", the paragraph separator U+2029 and the
// frame marks U+FDD0 and U+FDD1) becomes one "\n". Only then do document positions and
// characters correspond one to one. Everything else, the no-break space and the line
// separator U+2028 among it, stays as it is.
QString WithPlainLineBreaks(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const char16_t c : {u'\r', char16_t(0x2029), char16_t(0xFDD0), char16_t(0xFDD1)})
        out.replace(QChar(c), QChar(u'\n'));
    return out;
}

}  // namespace

void TMemo::SetText(const QString& rawText) {
    const QString text = WithPlainLineBreaks(rawText);
    const QString old = Text();
    if (old == text) return;
    // Keep the common beginning and end; replace only the middle. Document positions and
    // the characters of the plain text correspond one to one.
    const qsizetype oldLen = old.size();
    const qsizetype newLen = text.size();
    qsizetype prefix = 0;
    const qsizetype maxPrefix = std::min(oldLen, newLen);
    while (prefix < maxPrefix && old[prefix] == text[prefix])
        ++prefix;
    qsizetype suffix = 0;
    const qsizetype maxSuffix = std::min(oldLen, newLen) - prefix;
    while (suffix < maxSuffix && old[oldLen - 1 - suffix] == text[newLen - 1 - suffix])
        ++suffix;

    Edit(prefix, oldLen - suffix, text.mid(prefix, newLen - prefix - suffix));
    // The box now holds exactly `text` (its line breaks are the box's own already): the
    // next Text() answers with it, without copying the document out again.
    text_ = text;
    textValid_ = true;
}

void TMemo::AppendText(const QString& tail) {
    const QString text = WithPlainLineBreaks(tail);
    if (text.isEmpty()) return;
    const qsizetype end = TextLength();
    Edit(end, end, text);
}

// Replaces the characters from `from` to `to` by `replacement` in one edit; the undo
// history starts afresh.
void TMemo::Edit(qsizetype from, qsizetype to, const QString& replacement) {
    ++edits_;
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.setPosition(static_cast<int>(from));
    cursor.setPosition(static_cast<int>(to), QTextCursor::KeepAnchor);
    cursor.insertText(replacement);
    cursor.endEditBlock();
    document()->clearUndoRedoStacks();
}

int TMemo::SelStart() const {
    return textCursor().selectionStart();
}

void TMemo::SetSelStart(int position) {
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() && cursor.position() == position) return;
    cursor.setPosition(position);
    setTextCursor(cursor);
}

int TMemo::SelLength() const {
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TMemo::SettleSize() {
    // What showing does first: polishing (style and font), then the resize events that a
    // hidden widget and its viewport keep pending.
    ensurePolished();
    viewport()->ensurePolished();
    for (QWidget* w : {static_cast<QWidget*>(this), viewport()}) {
        if (!w->testAttribute(Qt::WA_PendingResizeEvent)) continue;
        QResizeEvent e(w->size(), QSize());
        QCoreApplication::sendEvent(w, &e);
        w->setAttribute(Qt::WA_PendingResizeEvent, false);
    }
}

void TMemo::resizeEvent(QResizeEvent* event) {
    if (viewport()->width() == laidOutWidth_) {
        // The same text width: let the box see a resize that keeps its width.
        QResizeEvent keep(event->size(), QSize(event->size().width(), event->oldSize().height()));
        QPlainTextEdit::resizeEvent(&keep);
        return;
    }
    QPlainTextEdit::resizeEvent(event);
    laidOutWidth_ = viewport()->width();
}

int TMemo::LineCount() const {
    return document()->lineCount();
}

void TMemo::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyDown) OnKeyDown(key, event->modifiers());
    if (key == 0 || key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Swallowed by the handler, or Enter, which never breaks a line here.
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

}  // namespace platform
