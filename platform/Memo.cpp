#include "platform/Memo.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace platform {

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    QTextDocument* doc = document();
    connect(doc, &QTextDocument::contentsChange, this, [this] { textValid_ = false; });
    connect(doc, &QTextDocument::contentsChanged, this, [this] { textValid_ = false; });
}

QString TMemo::Text() const {
    if (!textValid_) {
        ++extractions_;
        text_ = toPlainText();
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

// The text as the document holds it: every line break ("\r\n", a lone "\r", "\n" or the
// paragraph separator) becomes one "\n", as inserting the whole text would make it. Only
// then do document positions and characters correspond one to one.
QString WithPlainLineBreaks(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QChar(u'\r'), QChar(u'\n'));
    out.replace(QChar::ParagraphSeparator, QChar(u'\n'));
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
