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
}

QString TMemo::Text() const {
    ++extractions_;
    return toPlainText();
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
    ++edits_;
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

    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.setPosition(static_cast<int>(prefix));
    cursor.setPosition(static_cast<int>(oldLen - suffix), QTextCursor::KeepAnchor);
    cursor.insertText(text.mid(prefix, newLen - prefix - suffix));
    cursor.endEditBlock();
    document()->clearUndoRedoStacks();
}

int TMemo::SelStart() const {
    return textCursor().selectionStart();
}

void TMemo::SetSelStart(int position) {
    QTextCursor cursor = textCursor();
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
