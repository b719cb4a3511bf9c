#include "platform/widgets/Memo.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

namespace platform {

namespace {

// The text as the box holds it: every character that a plain text edit turns into a
// paragraph break ("\r\n", a lone "\r", "\n", the paragraph separator U+2029 and the frame
// marks U+FDD0 and U+FDD1) becomes one "\n". Everything else, the no-break space and the
// line separator U+2028 among it, stays as it is.
QString WithPlainLineBreaks(const QString& text) {
    // One look over the text first: a list without such characters is returned as it is,
    // without a copy.
    const auto isBreak = [](char16_t c) {
        return c == u'\r' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
    };
    const char16_t* begin = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* end = begin + text.size();
    if (std::none_of(begin, end, isBreak)) return text;
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const char16_t c : {u'\r', char16_t(0x2029), char16_t(0xFDD0), char16_t(0xFDD1)})
        out.replace(QChar(c), QChar(u'\n'));
    return out;
}

}  // namespace

TMemo::TMemo(QWidget* parent) : TextBox(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &TextBox::textChanged, this, [this] { textValid_ = false; });
}

QString TMemo::Text() const {
    if (!textValid_) {
        ++extractions_;
        // The last copy's memory is used again when nobody else holds it: a list of a
        // million numbers is not allocated and faulted in anew after every edit.
        const qsizetype n = length();
        if (text_.isDetached() && text_.capacity() >= n) {
            text_.resize(n);
            model().buffer().copyTo(0, n, reinterpret_cast<char16_t*>(text_.data()));
        } else {
            text_ = toPlainText();
        }
        textValid_ = true;
    }
    return text_;
}

int TMemo::TextLength() const {
    return static_cast<int>(length());
}

void TMemo::SetText(const QString& rawText) {
    const QString text = WithPlainLineBreaks(rawText);
    const QString old = Text();
    // Keep the common beginning and end; replace only the middle (nothing when the texts
    // are the same).
    const qsizetype oldLen = old.size();
    const qsizetype newLen = text.size();
    const char16_t* o = reinterpret_cast<const char16_t*>(old.constData());
    const char16_t* t = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype maxPrefix = std::min(oldLen, newLen);
    const qsizetype prefix = std::mismatch(o, o + maxPrefix, t).first - o;
    if (prefix == oldLen && prefix == newLen) return;
    qsizetype suffix = 0;
    const qsizetype maxSuffix = maxPrefix - prefix;
    while (suffix < maxSuffix && o[oldLen - 1 - suffix] == t[newLen - 1 - suffix])
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
    const qsizetype end = length();
    Edit(end, end, text);
}

// Replaces the characters from `from` to `to` by `replacement` in one edit; the undo
// history starts afresh.
void TMemo::Edit(qsizetype from, qsizetype to, const QString& replacement) {
    ++edits_;
    replaceRange(from, to, replacement);
}

void TMemo::setPlainText(const QString& text) {
    replaceRange(0, length(), WithPlainLineBreaks(text));
    setCursorPosition(0);
    verticalScrollBar()->setValue(0);
}

void TMemo::insertPlainText(const QString& text) {
    insertText(WithPlainLineBreaks(text));
}

int TMemo::SelStart() const {
    return static_cast<int>(selectionStart());
}

void TMemo::SetSelStart(int position) {
    if (!hasSelection() && cursorPosition() == position) return;
    setCursorPosition(position);
    ensureCursorVisible();
}

int TMemo::SelLength() const {
    return static_cast<int>(selectionEnd() - selectionStart());
}

int TMemo::LineCount() const {
    return static_cast<int>(rowCount());
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

void TMemo::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyDown) OnKeyDown(key, event->modifiers());
    if (key == 0 || key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Swallowed by the handler, or Enter, which never breaks a line here.
        event->accept();
        return;
    }
    TextBox::keyPressEvent(event);
}

}  // namespace platform
