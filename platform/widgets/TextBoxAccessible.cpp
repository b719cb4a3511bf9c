#include "platform/widgets/TextBoxAccessible.h"

#include <QScrollBar>

#include "platform/widgets/TextBox.h"

namespace platform {

TextBoxAccessible::TextBoxAccessible(TextBox* box)
    : QAccessibleWidget(box, QAccessible::EditableText) {}

QAccessibleInterface* TextBoxAccessible::Create(const QString&, QObject* object) {
    if (auto* box = qobject_cast<TextBox*>(object)) return new TextBoxAccessible(box);
    return nullptr;
}

TextBox* TextBoxAccessible::box() const {
    return static_cast<TextBox*>(widget());
}

void* TextBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextBoxAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = true;
    s.multiLine = true;
    s.selectableText = true;
    return s;
}

QString TextBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return box()->toPlainText();
    return QAccessibleWidget::text(t);
}

void TextBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !box()->hasSelection()) return;
    *startOffset = static_cast<int>(box()->selectionStart());
    *endOffset = static_cast<int>(box()->selectionEnd());
}

int TextBoxAccessible::selectionCount() const {
    return box()->hasSelection() ? 1 : 0;
}

void TextBoxAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TextBoxAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) box()->setCursorPosition(box()->cursorPosition());
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0) return;
    box()->setCursorPosition(startOffset);
    box()->setCursorPosition(endOffset, true);
}

int TextBoxAccessible::cursorPosition() const {
    return static_cast<int>(box()->cursorPosition());
}

void TextBoxAccessible::setCursorPosition(int position) {
    box()->setCursorPosition(position);
}

QString TextBoxAccessible::text(int startOffset, int endOffset) const {
    if (endOffset < startOffset) return QString();
    return box()->model().mid(startOffset, endOffset - startOffset);
}

int TextBoxAccessible::characterCount() const {
    return static_cast<int>(box()->length());
}

QRect TextBoxAccessible::characterRect(int offset) const {
    const QRect r = box()->characterRect(offset);
    if (r.isNull()) return r;
    return QRect(box()->viewport()->mapToGlobal(r.topLeft()), r.size());
}

int TextBoxAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = box()->viewport()->mapFromGlobal(point);
    if (!box()->viewport()->rect().contains(local)) return -1;
    return static_cast<int>(box()->positionAt(local));
}

void TextBoxAccessible::scrollToSubstring(int startIndex, int) {
    const qsizetype caret = box()->cursorPosition(), anchor = box()->selectionStart() == caret
                                                                  ? box()->selectionEnd()
                                                                  : box()->selectionStart();
    box()->setCursorPosition(startIndex);
    box()->ensureCursorVisible();
    box()->setCursorPosition(anchor);
    box()->setCursorPosition(caret, true);
}

QString TextBoxAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // One run of plain text: no attribute changes anywhere.
    *startOffset = 0;
    *endOffset = characterCount();
    Q_UNUSED(offset);
    return QString();
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void TextBoxAccessible::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    box()->setCursorPosition(startOffset);
    box()->setCursorPosition(endOffset, true);
    box()->insertText(text);
}

}  // namespace platform
