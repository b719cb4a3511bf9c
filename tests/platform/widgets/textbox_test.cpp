// The text box that stays fast at any length, against Qt's plain text edit as the reference:
// the same keys, clicks and pastes give the same text, caret and selection, the same wrap
// points at several widths and the same scroll range.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>
#include <memory>
#include <vector>

#include "platform/widgets/TextBox.h"

namespace {

using platform::TextBox;

// The two boxes, the same font and size, shown.
struct Pair {
    QWidget window;
    QPlainTextEdit* reference;
    TextBox* box;

    explicit Pair(int width = 220, int height = 82) {
        reference = new QPlainTextEdit(&window);
        reference->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        reference->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        box = new TextBox(&window);
        for (QAbstractScrollArea* w : {static_cast<QAbstractScrollArea*>(reference),
                                       static_cast<QAbstractScrollArea*>(box)}) {
            w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        }
        reference->setGeometry(0, 0, width, height);
        box->setGeometry(0, height + 10, width, height);
        window.resize(width, 2 * height + 20);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void setText(const QString& text, int caret) {
        reference->setPlainText(text);
        QTextCursor c = reference->textCursor();
        c.setPosition(caret);
        reference->setTextCursor(c);
        box->replaceRange(0, box->length(), text);
        box->setCursorPosition(caret);
    }

    // Runs the same action on both, each given focus first.
    void both(const std::function<void(QWidget*)>& action) {
        for (QWidget* w : {static_cast<QWidget*>(reference), static_cast<QWidget*>(box)}) {
            w->setFocus();
            action(w);
        }
    }

    std::vector<qsizetype> referenceRows() const {
        std::vector<qsizetype> rows;
        for (QTextBlock b = reference->document()->begin(); b.isValid(); b = b.next()) {
            // The edit lays out only what it shows: lay every paragraph out first.
            reference->document()->documentLayout()->blockBoundingRect(b);
            for (int i = 0; i < b.layout()->lineCount(); ++i)
                rows.push_back(b.position() + b.layout()->lineAt(i).textStart());
        }
        return rows;
    }
};

struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* typed = nullptr;  // typed instead of the key when set
};

struct EditCase {
    const char* name;
    const char* text;
    int caret;
    std::vector<Step> steps;
};

void RunStep(Pair& p, const Step& s) {
    p.both([&](QWidget* w) {
        if (s.typed)
            QTest::keyClicks(w, QString::fromUtf8(s.typed));
        else
            QTest::keyClick(w, s.key, s.modifiers);
    });
}

constexpr auto None = Qt::NoModifier;
constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Ctrl = Qt::ControlModifier;

TEST(TextBox, KeysEditAsThePlainTextEditDoes) {
    const char* list = "5 12 7 31 0 22 36 4 19 8 11 3 27 14 9 33";
    const EditCase cases[] = {
        {"type at the end", list, 40, {{Qt::Key_unknown, None, " 17"}}},
        {"type at the start", list, 0, {{Qt::Key_unknown, None, "3 "}}},
        {"type in the middle", list, 7, {{Qt::Key_unknown, None, "25 "}}},
        {"backspace at the end", list, 40, {{Qt::Key_Backspace, None}, {Qt::Key_Backspace, None}}},
        {"backspace at the start", list, 0, {{Qt::Key_Backspace, None}}},
        {"backspace in the middle",
         list,
         9,
         {{Qt::Key_Backspace, None}, {Qt::Key_Backspace, None}}},
        {"delete at the start", list, 0, {{Qt::Key_Delete, None}, {Qt::Key_Delete, None}}},
        {"delete in the middle", list, 10, {{Qt::Key_Delete, None}}},
        {"delete at the end", list, 40, {{Qt::Key_Delete, None}}},
        {"shift+left selects, typing replaces",
         list,
         20,
         {{Qt::Key_Left, Shift},
          {Qt::Key_Left, Shift},
          {Qt::Key_Left, Shift},
          {Qt::Key_unknown, None, "9"}}},
        {"ctrl+shift+left selects a word",
         list,
         20,
         {{Qt::Key_Left, Ctrl | Shift}, {Qt::Key_Delete, None}}},
        {"ctrl+right and ctrl+left move by words",
         list,
         3,
         {{Qt::Key_Right, Ctrl},
          {Qt::Key_Right, Ctrl},
          {Qt::Key_Left, Ctrl},
          {Qt::Key_unknown, None, "x"}}},
        {"shift+home and shift+end", list, 12, {{Qt::Key_End, Shift}, {Qt::Key_Home, Shift}}},
        {"ctrl+a and type", list, 5, {{Qt::Key_A, Ctrl}, {Qt::Key_unknown, None, "1"}}},
        {"down and up keep the column",
         list,
         10,
         {{Qt::Key_Down, None}, {Qt::Key_Up, None}, {Qt::Key_Up, None}}},
        {"undo typing", list, 40, {{Qt::Key_unknown, None, " 17"}, {Qt::Key_Z, Ctrl}}},
        {"undo and redo",
         list,
         40,
         {{Qt::Key_unknown, None, " 17"}, {Qt::Key_Z, Ctrl}, {Qt::Key_Z, Ctrl | Shift}}},
        {"undo a backspace", list, 9, {{Qt::Key_Backspace, None}, {Qt::Key_Z, Ctrl}}},
        {"undo a replaced selection",
         list,
         9,
         {{Qt::Key_End, Shift}, {Qt::Key_unknown, None, "8"}, {Qt::Key_Z, Ctrl}}},
        {"ctrl+backspace", list, 12, {{Qt::Key_Backspace, Ctrl}, {Qt::Key_Backspace, Ctrl}}},
        {"ctrl+delete", list, 5, {{Qt::Key_Delete, Ctrl}, {Qt::Key_Delete, Ctrl}}},
        {"page down and page up", list, 4, {{Qt::Key_PageDown, None}, {Qt::Key_PageUp, None}}},
        {"down on the last row", list, 35, {{Qt::Key_Down, None}}},
        {"shift+down selects to the next row", list, 6, {{Qt::Key_Down, Shift}}},
        {"right collapses a selection",
         list,
         6,
         {{Qt::Key_Right, Shift}, {Qt::Key_Right, Shift}, {Qt::Key_Right, None}}},
        {"left collapses a selection",
         list,
         6,
         {{Qt::Key_Right, Shift}, {Qt::Key_Right, Shift}, {Qt::Key_Left, None}}},
        {"home and end at a wrap", list, 30, {{Qt::Key_End, None}, {Qt::Key_Home, Shift}}},
        {"ctrl+home and ctrl+shift+end",
         list,
         20,
         {{Qt::Key_Home, Ctrl}, {Qt::Key_End, Ctrl | Shift}}},
        {"typing after undo drops the redo",
         list,
         40,
         {{Qt::Key_unknown, None, " 1"},
          {Qt::Key_Z, Ctrl},
          {Qt::Key_unknown, None, "2"},
          {Qt::Key_Z, Ctrl | Shift}}},
    };
    Pair p;
    for (const EditCase& c : cases) {
        p.setText(QString::fromLatin1(c.text), c.caret);
        for (const Step& s : c.steps)
            RunStep(p, s);
        const QTextCursor ref = p.reference->textCursor();
        EXPECT_EQ(p.box->toPlainText(), p.reference->toPlainText()) << c.name;
        EXPECT_EQ(p.box->cursorPosition(), ref.position()) << c.name;
        EXPECT_EQ(p.box->selectionStart(), ref.selectionStart()) << c.name;
        EXPECT_EQ(p.box->selectionEnd(), ref.selectionEnd()) << c.name;
        EXPECT_EQ(p.box->isUndoAvailable(), p.reference->document()->isUndoAvailable()) << c.name;
    }
}

TEST(TextBox, MouseSelectsAsThePlainTextEditDoes) {
    Pair p;
    const QString list = QStringLiteral("5 12 7 31 0 22 36 4 19 8 11 3 27 14 9 33 25 6");
    struct Click {
        const char* name;
        QPoint press, release;  // in the viewport
        bool doubleClick;
    };
    const Click clicks[] = {
        {"a click in the first row", {30, 10}, {30, 10}, false},
        {"a click in the second row", {50, 25}, {50, 25}, false},
        {"a click past a row's end", {200, 10}, {200, 10}, false},
        {"a drag over two rows", {20, 10}, {60, 25}, false},
        {"a drag backwards", {60, 25}, {10, 10}, false},
        {"a double click on a number", {26, 10}, {26, 10}, true},
    };
    for (const Click& c : clicks) {
        p.setText(list, 0);
        for (QAbstractScrollArea* w : {static_cast<QAbstractScrollArea*>(p.reference),
                                       static_cast<QAbstractScrollArea*>(p.box)}) {
            QWidget* v = w->viewport();
            if (c.doubleClick) {
                QTest::mouseDClick(v, Qt::LeftButton, Qt::NoModifier, c.press);
            } else {
                QTest::mousePress(v, Qt::LeftButton, Qt::NoModifier, c.press);
                QTest::mouseMove(v, c.release);
                QMouseEvent move(QEvent::MouseMove, c.release, v->mapToGlobal(c.release),
                                 Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(v, &move);
                QTest::mouseRelease(v, Qt::LeftButton, Qt::NoModifier, c.release);
            }
        }
        const QTextCursor ref = p.reference->textCursor();
        EXPECT_EQ(p.box->cursorPosition(), ref.position()) << c.name;
        EXPECT_EQ(p.box->selectionStart(), ref.selectionStart()) << c.name;
        EXPECT_EQ(p.box->selectionEnd(), ref.selectionEnd()) << c.name;
    }
}

TEST(TextBox, PasteOfALongListAsThePlainTextEditDoes) {
    Pair p;
    QString pasted;
    for (int i = 0; i < 3000; ++i)
        pasted += QString::number((i * 7) % 37) +
                  (i % 50 == 49 ? QStringLiteral("\r\n") : QStringLiteral(" "));
    QGuiApplication::clipboard()->setText(pasted);
    p.setText(QStringLiteral("5 12 7"), 2);
    p.both([](QWidget* w) { QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier); });
    EXPECT_EQ(p.box->toPlainText(), p.reference->toPlainText());
    EXPECT_EQ(p.box->cursorPosition(), p.reference->textCursor().position());
    EXPECT_EQ(p.box->model().rowStarts(), p.referenceRows());
    p.both([](QWidget* w) { QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier); });
    EXPECT_EQ(p.box->toPlainText(), QStringLiteral("5 12 7"));
    EXPECT_EQ(p.reference->toPlainText(), QStringLiteral("5 12 7"));
}

// Wrap points of number lists (and of a word wider than the box) at several widths.
TEST(TextBox, WrapsWhereThePlainTextEditWraps) {
    QString numbers;
    for (int i = 0; i < 200; ++i)
        numbers += QString::number((i * 13) % 37) +
                   (i % 9 == 0 ? QStringLiteral("  ") : QStringLiteral(" "));
    const QString texts[] = {
        numbers,
        QStringLiteral("1234567890123456789012345678901234567890 5 6"),
        QStringLiteral("5 12\n\n7 31 0 22\n"),
    };
    for (int width : {60, 97, 150, 220, 331}) {
        Pair p(width, 120);
        for (const QString& text : texts) {
            p.setText(text, 0);
            EXPECT_EQ(p.box->model().rowStarts(), p.referenceRows()) << "width " << width;
        }
    }
}

// The scroll range, and the rows in view after the caret goes to the end (as the Enter cycle
// scrolls the box to its end).
TEST(TextBox, ScrollsAsThePlainTextEditScrolls) {
    QString numbers;
    for (int i = 0; i < 400; ++i)
        numbers += QString::number((i * 11) % 37) + u' ';
    for (int height : {60, 82, 150}) {
        Pair p(220, height);
        p.setText(numbers, 0);
        p.both([](QWidget* w) { QTest::keyClick(w, Qt::Key_End, Qt::ControlModifier); });
        QScrollBar* ref = p.reference->verticalScrollBar();
        QScrollBar* box = p.box->verticalScrollBar();
        EXPECT_EQ(box->maximum(), ref->maximum()) << height;
        EXPECT_EQ(box->pageStep(), ref->pageStep()) << height;
        EXPECT_EQ(box->value(), ref->value()) << height;
        p.both([](QWidget* w) { QTest::keyClicks(w, QStringLiteral(" 17")); });
        EXPECT_EQ(box->maximum(), ref->maximum()) << height;
        EXPECT_EQ(box->value(), ref->value()) << height;
    }
}

}  // namespace

namespace {

// Short lists look as in Qt's plain text edit, pixel for pixel: frame, margins, glyphs,
// wrap and scroll bar, also with a selection (the caret is left out: it blinks).
TEST(TextBox, LooksLikeThePlainTextEdit) {
    struct Case {
        const char* name;
        const char* text;
        int selectFrom, selectTo;
    };
    const Case cases[] = {
        {"empty", "", 0, 0},
        {"a short list", "5 12 7 31 0", 0, 0},
        {"a list that wraps and scrolls",
         "5 12 7 31 0 22 36 4 19 8 11 3 27 14 9 33 25 6 17 2 30 1 35 16 28 13 10 34 21 29", 0, 0},
        {"a selection over a wrap", "5 12 7 31 0 22 36 4 19 8 11 3 27 14 9 33", 8, 40},
        {"paragraphs", "5 12\n\n7 31", 2, 6},
    };
    Pair p;
    for (const Case& c : cases) {
        p.setText(QString::fromLatin1(c.text), c.selectFrom);
        QTextCursor cursor = p.reference->textCursor();
        cursor.setPosition(c.selectTo, QTextCursor::KeepAnchor);
        p.reference->setTextCursor(cursor);
        p.box->setCursorPosition(c.selectTo, true);
        p.window.setFocus();  // no caret in either
        QApplication::processEvents();
        const QImage want = p.reference->grab().toImage();
        const QImage got = p.box->grab().toImage();
        ASSERT_EQ(got.size(), want.size()) << c.name;
        int differing = 0;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < want.width(); ++x)
                differing += got.pixel(x, y) != want.pixel(x, y);
        EXPECT_EQ(differing, 0) << c.name;
    }
}

}  // namespace

namespace {

// Screen readers read the text, the caret and the selection through the accessible text
// interface, piece by piece, and may edit through it.
TEST(TextBox, ReachesScreenReadersAsATextBox) {
    Pair p;
    p.setText(QStringLiteral("5 12 7 31 0 22 36 4 19 8 11 3 27 14 9 33"), 3);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(p.box);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::EditableText);
    EXPECT_TRUE(a->state().editable);
    EXPECT_TRUE(a->state().multiLine);
    QAccessibleTextInterface* t = a->textInterface();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->characterCount(), p.box->length());
    EXPECT_EQ(t->text(2, 4), QStringLiteral("12"));
    EXPECT_EQ(t->cursorPosition(), 3);
    EXPECT_EQ(t->selectionCount(), 0);

    t->setSelection(0, 5, 9);
    int from = -1, to = -1;
    t->selection(0, &from, &to);
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(5, 9));
    EXPECT_EQ(p.box->selectionStart(), 5);
    EXPECT_EQ(p.box->selectionEnd(), 9);

    // Every character's rectangle leads back to it, in the first and the wrapped row.
    for (int offset : {0, 3, 20, 35}) {
        const QRect r = t->characterRect(offset);
        ASSERT_FALSE(r.isNull()) << offset;
        EXPECT_EQ(t->offsetAtPoint(r.center() - QPoint(r.width() / 4, 0)), offset) << offset;
    }

    a->editableTextInterface()->replaceText(0, 1, QStringLiteral("17"));
    EXPECT_TRUE(p.box->toPlainText().startsWith(QStringLiteral("17 12")));
    EXPECT_TRUE(p.box->isUndoAvailable());
}

}  // namespace

namespace {

// The caret, just after the box takes the focus (its blink starts shown), stands where the
// plain text edit's does and looks the same: at a row's start, in a row, at a wrap and at
// the end.
TEST(TextBox, TheCaretLooksLikeThePlainTextEdits) {
    Pair p;
    const QString list = QStringLiteral("5 12 7 31 0 22 36 4 19 8 11 3 27 14 9 33");
    for (int caret : {0, 3, 29, 30, static_cast<int>(list.size())}) {
        p.setText(list, caret);
        p.window.setFocus();
        QApplication::processEvents();
        const QImage unfocused = p.reference->grab().toImage();
        QImage images[2];
        int i = 0;
        for (QWidget* w : {static_cast<QWidget*>(p.reference), static_cast<QWidget*>(p.box)}) {
            p.window.activateWindow();
            w->setFocus();
            QApplication::processEvents();
            ASSERT_TRUE(w->hasFocus());
            images[i++] = w->grab().toImage();
            p.window.setFocus();
        }
        ASSERT_EQ(images[1].size(), images[0].size());
        int differing = 0;
        for (int y = 0; y < images[0].height(); ++y)
            for (int x = 0; x < images[0].width(); ++x)
                differing += images[1].pixel(x, y) != images[0].pixel(x, y);
        EXPECT_EQ(differing, 0) << "caret at " << caret;
        EXPECT_NE(images[0], unfocused) << "the reference shows a caret at " << caret;
    }
}

}  // namespace

namespace {

// The right-click menu holds the plain text edit's entries, in its words (in the language
// of Qt's translation that the test program installs, as the program does) and with the
// same ones enabled, before and after an edit with a selection.
TEST(TextBox, TheContextMenuIsThePlainTextEdits) {
    Pair p;
    const auto entries = [](QAbstractScrollArea* w) {
        std::unique_ptr<QMenu> menu(
            qobject_cast<QPlainTextEdit*>(w)
                ? qobject_cast<QPlainTextEdit*>(w)->createStandardContextMenu()
                : static_cast<TextBox*>(w)->createStandardContextMenu());
        QStringList out;
        for (QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("--")
                                     : a->text() + (a->isEnabled() ? "" : " (off)"));
        return out;
    };
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    p.setText(QStringLiteral("5 12 7"), 0);
    EXPECT_EQ(entries(p.box), entries(p.reference));
    p.both([](QWidget* w) {
        QTest::keyClicks(w, QStringLiteral("3 "));
        QTest::keyClick(w, Qt::Key_Right, Qt::ShiftModifier);
    });
    const QStringList afterEdit = entries(p.box);
    EXPECT_EQ(afterEdit, entries(p.reference));
    // Everything but redo is on: the edit can be undone, the selection cut, copied and
    // deleted, the clipboard pasted.
    EXPECT_EQ(afterEdit.filter(QStringLiteral("(off)")).size(), 1)
        << afterEdit.join(u'|').toStdString();
}

}  // namespace

namespace {

// Input methods: composing (nothing enters the text until committed), committing, and a
// commit that replaces characters before the caret, as the plain text edit takes them; the
// caret's rectangle the input method asks for is the same.
TEST(TextBox, InputMethodsEditAsInThePlainTextEdit) {
    Pair p;
    const auto send = [&](const QString& preedit, const QString& commit, int from = 0,
                          int length = 0) {
        p.both([&](QWidget* w) {
            QInputMethodEvent e(preedit, {});
            e.setCommitString(commit, from, length);
            QApplication::sendEvent(w, &e);
        });
        EXPECT_EQ(p.box->toPlainText(), p.reference->toPlainText());
        EXPECT_EQ(p.box->cursorPosition(), p.reference->textCursor().position());
    };
    p.setText(QStringLiteral("5 12 7"), 6);
    send(QStringLiteral(" 1"), QString());
    EXPECT_EQ(p.box->toPlainText(), QStringLiteral("5 12 7"));
    send(QString(), QStringLiteral(" 17"));
    EXPECT_EQ(p.box->toPlainText(), QStringLiteral("5 12 7 17"));
    send(QString(), QStringLiteral("9"), -2, 2);
    EXPECT_EQ(p.box->toPlainText(), QStringLiteral("5 12 7 9"));
    EXPECT_EQ(static_cast<QWidget*>(p.box)->inputMethodQuery(Qt::ImCursorRectangle).toRect(),
              static_cast<QWidget*>(p.reference)->inputMethodQuery(Qt::ImCursorRectangle).toRect());
}

}  // namespace
