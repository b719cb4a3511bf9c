#include "platform/widgets/TextBox.h"

#include "platform/widgets/TextBoxAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>

namespace platform {

namespace {

bool IsWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c.isMark();
}

// One row of text shaped for drawing and measuring, as Qt's plain text edit lays a line out.
struct RowLayout {
    QTextLayout layout;
    QTextLine line;

    RowLayout(const QString& text, const QFont& font, qreal width = 1e9) : layout(text, font) {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        line = layout.createLine();
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition(QPointF(0, 0));
        layout.endLayout();
    }
};

}  // namespace

TextBox::TextBox(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    rewrap();
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(TextBoxAccessible::Create);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

// ---- the text and its edits ---------------------------------------------------------------

void TextBox::applyEdit(qsizetype position, qsizetype removed, const QString& inserted) {
    if (QAccessible::isActive()) {
        // Screen readers hear of the change with its texts (a copy of the edited part only).
        QAccessibleTextUpdateEvent ev(this, static_cast<int>(position),
                                      text_.mid(position, removed), inserted);
        text_.replace(position, removed, inserted);
        QAccessible::updateAccessibility(&ev);
    } else {
        text_.replace(position, removed, inserted);
    }
    updateScrollBar();
    viewport()->update();
    emit contentsChange(static_cast<int>(position), static_cast<int>(removed),
                        static_cast<int>(inserted.size()));
    emit textChanged();
}

void TextBox::replaceRange(qsizetype from, qsizetype to, const QString& text) {
    from = std::clamp<qsizetype>(from, 0, length());
    to = std::clamp<qsizetype>(to, from, length());
    applyEdit(from, to - from, text);
    const auto follow = [&](qsizetype p) {
        if (p >= to) return p + text.size() - (to - from);
        return p > from ? from + text.size() : p;
    };
    caret_ = follow(caret_);
    anchor_ = follow(anchor_);
    clearUndoRedo();
}

void TextBox::clearUndoRedo() {
    undo_.clear();
    redo_.clear();
    lastWasTyping_ = false;
}

void TextBox::userEdit(qsizetype from, qsizetype to, const QString& text, bool mergeTyping) {
    Edit e{from, text_.mid(from, to - from), text};
    const bool merge = mergeTyping && lastWasTyping_ && !undo_.empty() && from == to &&
                       undo_.back().removed.isEmpty() &&
                       undo_.back().position + undo_.back().inserted.size() == from;
    if (merge)
        undo_.back().inserted += text;
    else
        undo_.push_back(std::move(e));
    redo_.clear();
    lastWasTyping_ = mergeTyping;
    applyEdit(from, to - from, text);
    caret_ = anchor_ = from + text.size();
    desiredX_ = -1;
    ensureCursorVisible();
    restartBlink();
}

void TextBox::insertAtCaret(const QString& text, bool typing) {
    userEdit(selectionStart(), selectionEnd(), text, typing && !hasSelection());
}

void TextBox::undo() {
    if (undo_.empty()) return;
    Edit e = std::move(undo_.back());
    undo_.pop_back();
    applyEdit(e.position, e.inserted.size(), e.removed);
    // The caret stands after the text the undo put back, with nothing selected.
    caret_ = anchor_ = e.position + e.removed.size();
    redo_.push_back(std::move(e));
    lastWasTyping_ = false;
    ensureCursorVisible();
}

void TextBox::redo() {
    if (redo_.empty()) return;
    Edit e = std::move(redo_.back());
    redo_.pop_back();
    applyEdit(e.position, e.removed.size(), e.inserted);
    caret_ = anchor_ = e.position + e.inserted.size();
    undo_.push_back(std::move(e));
    lastWasTyping_ = false;
    ensureCursorVisible();
}

void TextBox::cut() {
    if (!hasSelection()) return;
    copy();
    insertAtCaret(QString(), false);
}

void TextBox::copy() {
    if (!hasSelection()) return;
    QString s = text_.mid(selectionStart(), selectionEnd() - selectionStart());
    QGuiApplication::clipboard()->setText(s);
}

void TextBox::paste() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasText()) return;
    QString s = mime->text();
    // A pasted text's line breaks of every kind become "\n", as the box holds them.
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    s.replace(QChar::ParagraphSeparator, u'\n');
    insertAtCaret(s, false);
}

void TextBox::selectAll() {
    anchor_ = 0;
    caret_ = length();
    viewport()->update();
}

// ---- the caret ----------------------------------------------------------------------------

void TextBox::setCursorPosition(qsizetype position, bool keepAnchor) {
    position = std::clamp<qsizetype>(position, 0, length());
    if (position > 0 && position < length() && QChar::isLowSurrogate(text_.at(position)) &&
        QChar::isHighSurrogate(text_.at(position - 1)))
        --position;
    const QRect before = caretRect();
    const bool hadSelection = hasSelection();
    desiredX_ = -1;  // a vertical move sets it again after placing the caret
    caret_ = position;
    if (!keepAnchor) anchor_ = position;
    if (hadSelection || hasSelection()) {
        viewport()->update();
    } else {
        viewport()->update(before);
        viewport()->update(caretRect());
    }
    restartBlink();
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent ev(this, static_cast<int>(caret_));
        QAccessible::updateAccessibility(&ev);
    }
}

qsizetype TextBox::nextCharacter(qsizetype p) const {
    if (p >= length()) return length();
    if (QChar::isHighSurrogate(text_.at(p)) && p + 1 < length() &&
        QChar::isLowSurrogate(text_.at(p + 1)))
        return p + 2;
    return p + 1;
}

qsizetype TextBox::previousCharacter(qsizetype p) const {
    if (p <= 0) return 0;
    if (QChar::isLowSurrogate(text_.at(p - 1)) && p >= 2 && QChar::isHighSurrogate(text_.at(p - 2)))
        return p - 2;
    return p - 1;
}

// The start of the word before the position (spaces before it skipped), as Ctrl+Left goes.
qsizetype TextBox::wordStartBefore(qsizetype p) const {
    while (p > 0 && !IsWordCharacter(text_.at(p - 1)))
        --p;
    while (p > 0 && IsWordCharacter(text_.at(p - 1)))
        --p;
    return p;
}

// The start of the next word, as Ctrl+Right goes: past this word, then past the spaces.
qsizetype TextBox::wordEndAfter(qsizetype p) const {
    const qsizetype n = length();
    if (p < n && IsWordCharacter(text_.at(p))) {
        while (p < n && IsWordCharacter(text_.at(p)))
            ++p;
    } else if (p < n && text_.at(p) != u' ') {
        ++p;
    }
    while (p < n && text_.at(p) == u' ')
        ++p;
    return p;
}

qreal TextBox::xOf(qsizetype position) const {
    const qsizetype row = text_.rowOf(position);
    const qsizetype start = text_.rowStart(row);
    RowLayout r(text_.mid(start, text_.rowEnd(row) - start), font());
    return r.line.cursorToX(static_cast<int>(position - start));
}

qsizetype TextBox::verticalMove(qsizetype position, qsizetype rows) const {
    const qsizetype row = text_.rowOf(position);
    const qsizetype target = std::clamp<qsizetype>(row + rows, 0, rowCount() - 1);
    if (target == row) return std::abs(rows) > 1 ? (rows < 0 ? 0 : length()) : position;
    const qreal x = desiredX_ >= 0 ? desiredX_ : xOf(position);
    const qsizetype start = text_.rowStart(target);
    const qsizetype end = caretEndOf(target);
    RowLayout r(text_.mid(start, text_.rowEnd(target) - start), font());
    return start + std::min<qsizetype>(r.line.xToCursor(x), end - start);
}

qsizetype TextBox::topRow() const {
    return verticalScrollBar()->value();
}

int TextBox::rowTop(qsizetype row) const {
    const qsizetype top = topRow();
    return (top == 0 ? margin_ : 0) + static_cast<int>((row - top) * rowHeight_);
}

int TextBox::visibleRows() const {
    const int h = viewport()->height();
    return rowHeight_ > 0 ? std::max(1, (h + rowHeight_ - 1) / rowHeight_ + 1) : 1;
}

QRect TextBox::caretRect() const {
    const qsizetype row = text_.rowOf(caret_);
    const qsizetype first = topRow();
    if (row < first || row > first + visibleRows()) return QRect();
    const int x = margin_ + static_cast<int>(std::floor(xOf(caret_)));
    return QRect(x - 1, rowTop(row), 4, rowHeight_);
}

QRect TextBox::characterRect(qsizetype position) const {
    position = std::clamp<qsizetype>(position, 0, length());
    const qsizetype row = text_.rowOf(position);
    if (row < topRow() || row > topRow() + visibleRows()) return QRect();
    const qsizetype start = text_.rowStart(row);
    RowLayout r(text_.mid(start, text_.rowEnd(row) - start), font());
    const int from = static_cast<int>(position - start);
    const qreal x0 = r.line.cursorToX(from);
    const qreal x1 = position < text_.rowEnd(row) ? r.line.cursorToX(from + 1) : x0;
    return QRect(margin_ + static_cast<int>(std::floor(x0)), rowTop(row),
                 std::max(1, static_cast<int>(std::ceil(x1 - x0))), rowHeight_);
}

void TextBox::ensureCursorVisible() {
    const qsizetype row = text_.rowOf(caret_);
    QScrollBar* bar = verticalScrollBar();
    const int height = viewport()->height();
    if (row < bar->value()) {
        bar->setValue(static_cast<int>(row));
    } else if (rowTop(row) + rowHeight_ >= height && rowHeight_ > 0) {
        // The caret's row goes to the bottom: the first row from which it fits, the top
        // margin counted while the first paragraph is in view, as Qt's plain text edit does.
        qsizetype top = std::max<qsizetype>(0, row + 1 - height / rowHeight_);
        while (top > 0) {
            const int margin = text_.paragraphOf(text_.rowStart(top - 1)) == 0 ? margin_ : 0;
            if ((row + 2 - top) * rowHeight_ + margin > height) break;
            --top;
        }
        while (top < row) {
            const int margin = text_.paragraphOf(text_.rowStart(top)) == 0 ? margin_ : 0;
            if ((row + 1 - top) * rowHeight_ + margin <= height) break;
            ++top;
        }
        bar->setValue(static_cast<int>(top));
    }
}

// Where a row's text ends for the caret: a row that wrapped ends before the space it broke
// at, as the caret of Qt's plain text edit stops there.
qsizetype TextBox::caretEndOf(qsizetype row) const {
    const qsizetype end = text_.rowEnd(row);
    if (row + 1 < rowCount() && end == text_.rowStart(row + 1) && end > text_.rowStart(row) &&
        (text_.at(end - 1) == u' ' || text_.at(end - 1) == u'\t'))
        return end - 1;
    return end;
}

qsizetype TextBox::positionAt(const QPoint& point) const {
    const qsizetype top = topRow();
    const int y = point.y() - (top == 0 ? margin_ : 0);
    qsizetype row = top + (y < 0 ? -1 : y / std::max(1, rowHeight_));
    if (row < 0) return 0;
    if (row >= rowCount()) return length();
    const qsizetype start = text_.rowStart(row);
    const qsizetype end = caretEndOf(row);
    RowLayout r(text_.mid(start, text_.rowEnd(row) - start), font());
    return start + std::min<qsizetype>(r.line.xToCursor(point.x() - margin_), end - start);
}

void TextBox::restartBlink() {
    caretShown_ = true;
    const int period = QApplication::cursorFlashTime();
    if (hasFocus() && period > 0)
        blink_.start(period / 2, this);
    else
        blink_.stop();
    viewport()->update(caretRect());
}

void TextBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() != blink_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    caretShown_ = !caretShown_;
    // Only the caret's rectangle is painted again, never the text around it.
    viewport()->update(caretRect());
}

// ---- layout and painting ------------------------------------------------------------------

void TextBox::rewrap() {
    const QFont f = font();
    RowLayout probe(QStringLiteral("0"), f);
    rowHeight_ = static_cast<int>(std::ceil(probe.line.height()));
    const int available = viewport()->width() - 2 * margin_;
    const auto metrics = std::make_shared<QFontMetricsF>(f);
    // Widths in 1/64 pixel, the fixed point Qt's own line breaking compares in.
    text_.setWrap(viewport()->width() > 0 ? std::max(1, available) * 64 : 0, [metrics](char32_t c) {
        return static_cast<int>(
            std::lround(metrics->horizontalAdvance(QString::fromUcs4(&c, 1)) * 64));
    });
    updateScrollBar();
    viewport()->update();
}

void TextBox::updateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    const qsizetype rows = rowCount();
    int page;
    qsizetype maximum;
    if (isVisible() && rowHeight_ > 0) {
        // As many rows as fit above the bottom margin, counted from the end.
        const int room = viewport()->height() - 2 * margin_ - 1;
        const qsizetype fit = std::max<qsizetype>(0, room / rowHeight_);
        page = static_cast<int>(std::min(rows, std::max<qsizetype>(fit, 0)));
        maximum = std::max<qsizetype>(0, rows - page);
    } else {
        maximum = std::max<qsizetype>(0, rows - 1);
        page = rowHeight_ > 0 ? viewport()->height() / rowHeight_ : 0;
    }
    const QSignalBlocker block(bar);
    bar->setRange(0, static_cast<int>(maximum));
    bar->setPageStep(page);
    bar->setSingleStep(1);
}

void TextBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (viewport()->width() * 64 - 2 * margin_ * 64 != text_.wrapWidth())
        rewrap();
    else
        updateScrollBar();
}

void TextBox::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) rewrap();
}

bool TextBox::event(QEvent* event) {
    if (event->type() == QEvent::Show) updateScrollBar();
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the box handles itself are not taken by the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
            key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Undo) ||
            key->matches(QKeySequence::Redo) || key->matches(QKeySequence::SelectAll)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TextBox::scrollContentsBy(int, int) {
    viewport()->update();
}

void TextBox::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    const QFont f = font();
    const QPalette& pal = palette();
    const qsizetype selStart = selectionStart(), selEnd = selectionEnd();
    // Rows are drawn at the wrap width: a selected space that a row broke at ends there.
    const qreal lineWidth = text_.wrapWidth() > 0 ? text_.wrapWidth() / 64.0 : 1e9;
    for (qsizetype row = topRow(); row < rowCount(); ++row) {
        const int y = rowTop(row);
        if (y > area.bottom()) break;
        if (y + rowHeight_ < area.top()) continue;
        const qsizetype start = text_.rowStart(row);
        const qsizetype end = text_.rowEnd(row);
        QString s = text_.mid(start, end - start);
        const bool caretHere = caret_ >= start && caret_ <= end && text_.rowOf(caret_) == row;
        int preeditAt = -1;
        if (caretHere && !preedit_.isEmpty()) {
            preeditAt = static_cast<int>(caret_ - start);
            s.insert(preeditAt, preedit_);
        }
        RowLayout r(s, f, lineWidth);
        QList<QTextLayout::FormatRange> selections;
        if (selEnd > start && selStart <= end && selStart != selEnd) {
            QTextLayout::FormatRange range;
            range.start = static_cast<int>(std::max(selStart, start) - start);
            // A selected paragraph break shows after the row's text, as in Qt's own text
            // boxes (the layout draws it for a range past the row's text); the space a row
            // wrapped at does not show as selected.
            const bool breakSelected = selEnd > end && end < length() && text_.at(end) == u'\n';
            range.length =
                static_cast<int>((breakSelected ? end + 1 : std::min(selEnd, caretEndOf(row))) -
                                 start) -
                range.start;
            range.format.setBackground(pal.brush(QPalette::Highlight));
            range.format.setForeground(pal.brush(QPalette::HighlightedText));
            selections << range;
        }
        if (preeditAt >= 0) {
            QTextLayout::FormatRange range;
            range.start = preeditAt;
            range.length = static_cast<int>(preedit_.size());
            range.format.setFontUnderline(true);
            selections << range;
        }
        if (start == end && selStart <= end && selEnd > end) {
            // An empty row whose paragraph break is selected shows a space's width of
            // selection, as in Qt's own text boxes.
            RowLayout space(QStringLiteral(" "), f);
            painter.fillRect(QRectF(margin_, y, space.line.naturalTextWidth(), rowHeight_),
                             pal.brush(QPalette::Highlight));
        }
        painter.setPen(pal.color(QPalette::Text));
        r.layout.draw(&painter, QPointF(margin_, y), selections);
        if (caretHere && caretShown_ && hasFocus()) {
            const int at = static_cast<int>(caret_ - start) +
                           (preeditAt >= 0 ? static_cast<int>(preedit_.size()) : 0);
            r.layout.drawCursor(&painter, QPointF(margin_, y), at, 1);
        }
    }
}

// ---- keys and mouse -----------------------------------------------------------------------

void TextBox::keyPressEvent(QKeyEvent* e) {
    struct Move {
        QKeySequence::StandardKey key;
        bool select;
        int kind;  // 0 char left, 1 char right, 2 word left, 3 word right, 4 row start,
                   // 5 row end, 6 up, 7 down, 8 text start, 9 text end, 10 page up, 11 page down
    };
    static const Move moves[] = {
        {QKeySequence::MoveToPreviousChar, false, 0},
        {QKeySequence::MoveToNextChar, false, 1},
        {QKeySequence::MoveToPreviousWord, false, 2},
        {QKeySequence::MoveToNextWord, false, 3},
        {QKeySequence::MoveToStartOfLine, false, 4},
        {QKeySequence::MoveToEndOfLine, false, 5},
        {QKeySequence::MoveToPreviousLine, false, 6},
        {QKeySequence::MoveToNextLine, false, 7},
        {QKeySequence::MoveToStartOfDocument, false, 8},
        {QKeySequence::MoveToEndOfDocument, false, 9},
        {QKeySequence::MoveToPreviousPage, false, 10},
        {QKeySequence::MoveToNextPage, false, 11},
        {QKeySequence::SelectPreviousChar, true, 0},
        {QKeySequence::SelectNextChar, true, 1},
        {QKeySequence::SelectPreviousWord, true, 2},
        {QKeySequence::SelectNextWord, true, 3},
        {QKeySequence::SelectStartOfLine, true, 4},
        {QKeySequence::SelectEndOfLine, true, 5},
        {QKeySequence::SelectPreviousLine, true, 6},
        {QKeySequence::SelectNextLine, true, 7},
        {QKeySequence::SelectStartOfDocument, true, 8},
        {QKeySequence::SelectEndOfDocument, true, 9},
        {QKeySequence::SelectPreviousPage, true, 10},
        {QKeySequence::SelectNextPage, true, 11},
    };
    for (const Move& m : moves) {
        if (!e->matches(m.key)) continue;
        const qsizetype row = text_.rowOf(caret_);
        const qsizetype page = std::max(1, verticalScrollBar()->pageStep());
        qsizetype to = caret_;
        switch (m.kind) {
            case 0:
                to = !m.select && hasSelection() ? selectionStart() : previousCharacter(caret_);
                break;
            case 1:
                to = !m.select && hasSelection() ? selectionEnd() : nextCharacter(caret_);
                break;
            case 2:
                to = wordStartBefore(caret_);
                break;
            case 3:
                to = wordEndAfter(caret_);
                break;
            case 4:
                to = text_.rowStart(row);
                break;
            case 5:
                to = caretEndOf(row);
                break;
            case 6:
                to = verticalMove(caret_, -1);
                break;
            case 7:
                to = verticalMove(caret_, 1);
                break;
            case 8:
                to = 0;
                break;
            case 9:
                to = length();
                break;
            case 10:
                to = verticalMove(caret_, -page);
                break;
            case 11:
                to = verticalMove(caret_, page);
                break;
        }
        const bool vertical = m.kind == 6 || m.kind == 7 || m.kind == 10 || m.kind == 11;
        const qreal keepX = vertical ? (desiredX_ >= 0 ? desiredX_ : xOf(caret_)) : -1;
        setCursorPosition(to, m.select);
        desiredX_ = keepX;
        lastWasTyping_ = false;
        ensureCursorVisible();
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::SelectAll)) return selectAll();
    if (e->matches(QKeySequence::Copy)) return copy();
    if (e->matches(QKeySequence::Cut)) return cut();
    if (e->matches(QKeySequence::Paste)) return paste();
    if (e->matches(QKeySequence::Undo)) return undo();
    if (e->matches(QKeySequence::Redo)) return redo();
    if (e->key() == Qt::Key_Backspace && !(e->modifiers() & ~Qt::ShiftModifier)) {
        if (hasSelection())
            insertAtCaret(QString(), false);
        else if (caret_ > 0)
            userEdit(previousCharacter(caret_), caret_, QString());
        return;
    }
    if (e->matches(QKeySequence::Delete)) {
        if (hasSelection())
            insertAtCaret(QString(), false);
        else if (caret_ < length())
            userEdit(caret_, nextCharacter(caret_), QString());
        return;
    }
    if (e->matches(QKeySequence::DeleteStartOfWord)) {
        if (!hasSelection()) anchor_ = wordStartBefore(caret_);
        insertAtCaret(QString(), false);
        return;
    }
    if (e->matches(QKeySequence::DeleteEndOfWord)) {
        if (!hasSelection()) anchor_ = wordEndAfter(caret_);
        insertAtCaret(QString(), false);
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        insertAtCaret(QStringLiteral("\n"), false);
        return;
    }
    const QString typed = e->text();
    if (!typed.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        (typed.front().isPrint() || typed.front() == u'\t')) {
        insertAtCaret(typed, true);
        return;
    }
    e->ignore();
}

void TextBox::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(e);
        return;
    }
    setCursorPosition(positionAt(e->position().toPoint()), e->modifiers() & Qt::ShiftModifier);
    desiredX_ = -1;
    lastWasTyping_ = false;
    dragging_ = true;
    wordAnchorStart_ = wordAnchorEnd_ = -1;
}

void TextBox::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return;
    qsizetype p = positionAt(e->position().toPoint());
    if (wordAnchorStart_ >= 0) {
        // After a double click the selection grows by whole words.
        if (p < wordAnchorStart_) {
            anchor_ = wordAnchorEnd_;
            p = IsWordCharacter(text_.at(std::min(p, length() - 1))) ? wordStartBefore(p + 1) : p;
        } else {
            anchor_ = wordAnchorStart_;
            p = std::max(p, wordAnchorEnd_);
        }
    }
    setCursorPosition(p, true);
    ensureCursorVisible();
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const qsizetype p = positionAt(e->position().toPoint());
    qsizetype start = p, end = p;
    while (start > 0 && IsWordCharacter(text_.at(start - 1)))
        --start;
    while (end < length() && IsWordCharacter(text_.at(end)))
        ++end;
    if (start == end && end < length()) end = nextCharacter(end);
    anchor_ = start;
    setCursorPosition(end, true);
    wordAnchorStart_ = start;
    wordAnchorEnd_ = end;
    dragging_ = true;
}

QMenu* TextBox::createStandardContextMenu() {
    // Qt's own source texts and translation context, so that Qt's translation reads them.
    const auto tr = [](const char* text) {
        return QCoreApplication::translate("QWidgetTextControl", text);
    };
    const auto withKey = [](QString text, QKeySequence::StandardKey key) {
        const QKeySequence seq(key);
        if (!seq.isEmpty()) text += u'\t' + seq.toString(QKeySequence::NativeText);
        return text;
    };
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("qt_edit_menu"));
    QAction* a = menu->addAction(withKey(tr("&Undo"), QKeySequence::Undo), this, &TextBox::undo);
    a->setEnabled(isUndoAvailable());
    a = menu->addAction(withKey(tr("&Redo"), QKeySequence::Redo), this, &TextBox::redo);
    a->setEnabled(isRedoAvailable());
    menu->addSeparator();
    a = menu->addAction(withKey(tr("Cu&t"), QKeySequence::Cut), this, &TextBox::cut);
    a->setEnabled(hasSelection());
    a = menu->addAction(withKey(tr("&Copy"), QKeySequence::Copy), this, &TextBox::copy);
    a->setEnabled(hasSelection());
    a = menu->addAction(withKey(tr("&Paste"), QKeySequence::Paste), this, &TextBox::paste);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    a->setEnabled(mime && mime->hasText());
    a = menu->addAction(tr("Delete"), this, [this] { insertAtCaret(QString(), false); });
    a->setEnabled(hasSelection());
    menu->addSeparator();
    a = menu->addAction(withKey(tr("Select All"), QKeySequence::SelectAll), this,
                        &TextBox::selectAll);
    a->setEnabled(length() > 0);
    return menu;
}

void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    menu->exec(event->globalPos());
}

void TextBox::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    caretShown_ = false;
    viewport()->update(caretRect());
}

// ---- input methods ------------------------------------------------------------------------

void TextBox::inputMethodEvent(QInputMethodEvent* e) {
    if (!e->commitString().isEmpty() || e->replacementLength() > 0) {
        qsizetype from = selectionStart(), to = selectionEnd();
        if (e->replacementLength() > 0 || e->replacementStart() != 0) {
            from = std::clamp<qsizetype>(caret_ + e->replacementStart(), 0, length());
            to = std::clamp<qsizetype>(from + e->replacementLength(), from, length());
        }
        userEdit(from, to, e->commitString(), e->replacementLength() == 0);
    }
    preedit_ = e->preeditString();
    viewport()->update();
    e->accept();
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    // The surrounding text is the caret's row and its neighbours, never the whole list.
    const qsizetype row = text_.rowOf(caret_);
    const qsizetype from = text_.rowStart(std::max<qsizetype>(row - 1, 0));
    const qsizetype to = row + 2 < rowCount() ? text_.rowStart(row + 2) : length();
    switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImCursorRectangle: {
            // The caret's own line, one pixel wide, as Qt's text boxes report it.
            const QRect r = caretRect();
            if (r.isNull()) return r;
            return QRect(margin_ + qRound(xOf(caret_)), r.top(), 1, r.height());
        }
        case Qt::ImFont:
            return font();
        case Qt::ImCursorPosition:
            return static_cast<int>(caret_ - from);
        case Qt::ImAnchorPosition:
            return static_cast<int>(std::clamp(anchor_, from, to) - from);
        case Qt::ImSurroundingText:
            return text_.mid(from, to - from);
        case Qt::ImCurrentSelection:
            return text_.mid(selectionStart(),
                             std::min<qsizetype>(selectionEnd() - selectionStart(), 4096));
        case Qt::ImMaximumTextLength:
            return QVariant();
        case Qt::ImHints:
            return static_cast<int>(inputMethodHints());
        default:
            return QAbstractScrollArea::inputMethodQuery(query);
    }
}

}  // namespace platform
