// The number box: Enter never breaks a line, the key-down handler sees keys first, Tab
// moves the focus on, and SetText replaces only the part that differs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "platform/widgets/Memo.h"

namespace {

using platform::TMemo;

TEST(Memo, EnterNeverInsertsALineBreak) {
    TMemo memo;
    memo.SetText(QStringLiteral("5 12"));
    memo.SetSelStart(1);
    const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::ShiftModifier,
                                               Qt::ControlModifier, Qt::AltModifier,
                                               Qt::ShiftModifier | Qt::ControlModifier};
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        for (Qt::KeyboardModifiers mods : modifiers) {
            QTest::keyClick(&memo, key, mods);
            EXPECT_EQ(memo.Text(), QStringLiteral("5 12")) << key << " " << mods;
        }
    }
    // A handler that lets Enter through does not change that either.
    int seen = 0;
    memo.OnKeyDown = [&](int& key, Qt::KeyboardModifiers) { seen += key == Qt::Key_Return; };
    QTest::keyClick(&memo, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(memo.Text(), QStringLiteral("5 12"));
    EXPECT_EQ(memo.LineCount(), 1);
}

TEST(Memo, KeyDownHandlerSeesKeysFirstAndMaySwallowThem) {
    TMemo memo;
    QList<int> keys;
    memo.OnKeyDown = [&](int& key, Qt::KeyboardModifiers) {
        keys << key;
        if (key == Qt::Key_X) key = 0;
    };
    QTest::keyClicks(&memo, QStringLiteral("1x2"));
    EXPECT_EQ(keys, QList<int>({Qt::Key_1, Qt::Key_X, Qt::Key_2}));
    EXPECT_EQ(memo.Text(), QStringLiteral("12"));
}

TEST(Memo, TabMovesTheFocusOn) {
    QWidget window;
    auto* memo = new TMemo(&window);
    auto* next = new QLineEdit(&window);
    QWidget::setTabOrder(memo, next);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    memo->setFocus();
    memo->SetText(QStringLiteral("5"));
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_EQ(memo->Text(), QStringLiteral("5"));
}

// SetText over any earlier text ends with the text a fresh box gets, and touches only the
// characters between the common beginning and the common end.
TEST(Memo, SetTextReplacesOnlyTheDifferingMiddle) {
    struct Case {
        QString before, after;
        int position, removed, added;  // the one change the document reports; -1: unchecked
    };
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");  // U+1F600
    const QString grin = QString::fromUtf8("\xF0\x9F\x98\x81");   // U+1F601
    const Case cases[] = {
        {"5 12 7", "5 12 7 ", 6, 0, 1},
        {"5 abc 6", "5 6", 2, 4, 0},
        {"40 5 40", " 5 ", 0, 7, 3},
        {"aaa", "aa", 2, 1, 0},
        {"", "1 2 3", 0, 0, 5},
        {"1 2 3", "", 0, 5, 0},
        {"1\n2 3", "1\r\n2 3 4", 5, 0, 2},  // a CRLF pair is one line break
        {"a\nb", "a\rb\r\nc", 3, 0, 2},
        {"a\nb", "x\r\nb", 0, 1, 1},
        {"1 " + smile, "1 " + grin, -1, -1, -1},  // the pair's common first half is kept
    };
    for (const Case& c : cases) {
        TMemo memo;
        memo.SetText(c.before);
        QList<QList<int>> reported;
        QObject::connect(&memo, &TMemo::contentsChange, [&](int position, int removed, int added) {
            reported << QList<int>{position, removed, added};
        });
        memo.SetText(c.after);

        TMemo fresh;
        fresh.SetText(c.after);
        const std::string label = (c.before + " -> " + c.after).toStdString();
        EXPECT_EQ(memo.Text(), fresh.Text()) << label;
        EXPECT_FALSE(memo.Text().contains(u'\r')) << label;
        EXPECT_EQ(memo.isUndoAvailable(), false) << label;
        if (c.position < 0) continue;
        ASSERT_EQ(reported.size(), 1) << label;
        EXPECT_EQ(reported[0], QList<int>({c.position, c.removed, c.added})) << label;
    }
}

TEST(Memo, SettingTheSameTextChangesNothing) {
    TMemo memo;
    memo.SetText(QStringLiteral("1 2\n3"));
    memo.SetSelStart(2);
    QSignalSpy spy(&memo, &TMemo::contentsChange);
    memo.SetText(QStringLiteral("1 2\n3"));
    memo.SetText(QStringLiteral("1 2\r\n3"));
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(memo.SelStart(), 2);
}

}  // namespace

namespace {

// The text kept from the last copy must follow every way the document can change.
TEST(Memo, TextFollowsTypingUndoAndDirectChanges) {
    TMemo memo;
    memo.SetText(QStringLiteral("5 12"));
    EXPECT_EQ(memo.Text(), QStringLiteral("5 12"));
    const long copies = memo.TextExtractions();
    EXPECT_EQ(memo.Text(), QStringLiteral("5 12"));
    EXPECT_EQ(memo.TextExtractions(), copies) << "no change, no new copy";
    memo.SetSelStart(4);
    QTest::keyClicks(&memo, QStringLiteral(" 7"));
    EXPECT_EQ(memo.Text(), QStringLiteral("5 12 7"));
    QTest::keyClick(&memo, Qt::Key_Backspace);
    EXPECT_EQ(memo.Text(), QStringLiteral("5 12 "));
    memo.undo();
    EXPECT_EQ(memo.Text(), QStringLiteral("5 12 7"));
    memo.setPlainText(QStringLiteral("1\n2"));
    EXPECT_EQ(memo.Text(), QStringLiteral("1\n2"));
    memo.replaceRange(0, memo.length(), QStringLiteral("3"));  // the box's own edit
    EXPECT_EQ(memo.Text(), QStringLiteral("3"));
    memo.clear();
    EXPECT_EQ(memo.Text(), QString());
}

// AppendText is SetText(Text() + tail): the same text, one edit, the caret at the end
// carried along, an empty undo history; TextLength is the length of Text().
TEST(Memo, AppendTextActsAsSettingTheTextWithTheTail) {
    const QString starts[] = {QString(), QStringLiteral("5 12 7"), QStringLiteral("1\n2 3"),
                              QStringLiteral("4\r\n5 ")};
    for (const QString& start : starts) {
        TMemo appended, set;
        appended.SetText(start);
        set.SetText(start);
        appended.SetSelStart(appended.TextLength());
        set.SetSelStart(set.TextLength());
        const long edits = appended.TextEdits();
        appended.AppendText(QStringLiteral(" "));
        set.SetText(set.Text() + u' ');
        EXPECT_EQ(appended.Text(), set.Text()) << start.toStdString();
        EXPECT_EQ(appended.TextLength(), appended.Text().size()) << start.toStdString();
        EXPECT_EQ(appended.TextEdits(), edits + 1);
        EXPECT_EQ(appended.SelStart(), set.SelStart()) << start.toStdString();
        EXPECT_EQ(appended.SelStart(), appended.TextLength()) << start.toStdString();
        EXPECT_FALSE(appended.isUndoAvailable());
    }
}

TEST(Memo, SettingTheCaretWhereItIsKeepsTheSelectionRule) {
    TMemo memo;
    memo.SetText(QStringLiteral("5 12 7"));
    memo.selectAll();
    memo.SetSelStart(6);  // at the selection's end, but a selection: it goes
    EXPECT_EQ(memo.SelStart(), 6);
    EXPECT_EQ(memo.SelLength(), 0);
    memo.SetSelStart(6);
    EXPECT_EQ(memo.SelStart(), 6);
    memo.SetSelStart(2);
    EXPECT_EQ(memo.SelStart(), 2);
}

}  // namespace
