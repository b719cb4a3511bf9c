// The page-size spin box: reading, typing filter, stepping, clamping on leaving, and the
// Change signal firing exactly once per change of the text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "platform/core/Locale.h"
#include "platform/widgets/SpinEdit.h"
#include "tests/support/RecordingUi.h"

namespace {

using platform::TSpinEdit;

// A shown, active window holding the box (min 50, max 5000, step 100, value 100) and a
// second field to move the focus to. Every Change is recorded with the text it saw.
class SpinEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        window_->resize(200, 80);
        spin = new TSpinEdit(window_.get());
        spin->setGeometry(10, 10, 73, 22);
        other = new QLineEdit(window_.get());
        other->setGeometry(10, 40, 73, 22);
        spin->SetMinValue(50);
        spin->SetMaxValue(5000);
        spin->SetIncrement(100);
        spin->SetValue(100);
        QObject::connect(spin, &TSpinEdit::Change, [this] { changes << spin->Text(); });
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        spin->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(spin->Editor()->hasFocus());
    }

    // Puts a text into the box without recording it as a change under test.
    void Start(const QString& text) {
        spin->SetText(text);
        changes.clear();
        ui.Clear();
    }

    void TypeOverSelection(const QString& keys) {
        spin->Editor()->selectAll();
        QTest::keyClicks(spin->Editor(), keys);
    }

    void Leave() {
        other->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(other->hasFocus());
    }

    testing_support::RecordingUi ui;
    std::unique_ptr<QWidget> window_;
    TSpinEdit* spin = nullptr;
    QLineEdit* other = nullptr;
    QStringList changes;
};

TEST(SpinEditStep, AddsAndClampsWithoutOverflow) {
    struct Case {
        int value, delta, expected;
    };
    const Case cases[] = {
        {100, 100, 200}, {100, -100, 50},   {5000, 100, 5000},       {9999, 100, 5000},
        {-5, -100, 50},  {4950, 100, 5000}, {2147483647, 100, 5000}, {-2147483647 - 1, -100, 50},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::SpinStep(c.value, c.delta, 50, 5000), c.expected)
            << c.value << " + " << c.delta;
}

TEST(SpinEditChar, AcceptsDigitsSignsSeparatorAndControlCharacters) {
    for (QChar c : QStringLiteral("0123456789+-,\b\t\x1b\x03\x16\x18\x7f"))
        EXPECT_TRUE(platform::IsSpinEditChar(c, u',')) << c.unicode();
    for (QChar c : QStringLiteral("a x$e. /\r\u0663"))  // \u0663 is a non-ASCII digit
        EXPECT_FALSE(platform::IsSpinEditChar(c, u',')) << c.unicode();
}

TEST_F(SpinEditTest, ValueIsTheTextReadAsIntegerOrTheMinimum) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"100", 100}, {"9999", 9999}, {"-5", -5}, {"+7", 7},   {"$10", 16},  {" 12", 12},
        {"", 50},     {"-", 50},      {"+", 50},  {"1.5", 50}, {"12ab", 50},
    };
    for (const Case& c : cases) {
        spin->SetText(QString::fromUtf8(c.text));
        EXPECT_EQ(spin->Value(), c.value) << '"' << c.text << '"';
    }
}

TEST_F(SpinEditTest, ProgramWritesFireChangeOnlyWhenTheTextChanges) {
    spin->SetText(QStringLiteral("100"));
    spin->SetValue(100);
    EXPECT_TRUE(changes.isEmpty());

    spin->SetValue(100000);
    spin->SetValue(-3);
    spin->SetText(QStringLiteral("abc"));  // the program's text is not filtered
    spin->SetText(QStringLiteral("abc"));
    EXPECT_EQ(changes, QStringList({"5000", "50", "abc"}));
    EXPECT_EQ(ui.Beeps(), 0);
}

TEST_F(SpinEditTest, ButtonsAndArrowKeysStepAndClamp) {
    struct Case {
        const char* start;
        bool up;
        const char* expected;  // nullptr: no change at all
    };
    const Case cases[] = {
        {"5000", true, nullptr}, {"100", false, "50"},   {"100", true, "200"},
        {"50", false, nullptr},  {"9999", true, "5000"}, {"-5", true, "95"},
        {"-", true, "150"},      {"-500", true, "50"},   {"4990", true, "5000"},
        {"05000", true, "5000"}, {"1.5", false, "50"},
    };
    for (int viaKey = 0; viaKey < 2; ++viaKey) {
        for (const Case& c : cases) {
            Start(QString::fromUtf8(c.start));
            if (viaKey)
                QTest::keyClick(spin->Editor(), c.up ? Qt::Key_Up : Qt::Key_Down);
            else
                QTest::mouseClick(c.up ? spin->UpButton() : spin->DownButton(), Qt::LeftButton);
            const QString label =
                QStringLiteral("%1 %2 by %3")
                    .arg(c.start, c.up ? "up" : "down", viaKey ? "key" : "button");
            const QString expected =
                c.expected ? QString::fromUtf8(c.expected) : QString::fromUtf8(c.start);
            EXPECT_EQ(spin->Text(), expected) << label.toStdString();
            EXPECT_EQ(changes, c.expected ? QStringList{expected} : QStringList{})
                << label.toStdString();
            EXPECT_EQ(ui.Beeps(), 0) << label.toStdString();
        }
    }
}

TEST_F(SpinEditTest, TypingOverSelectionFiresOncePerCharacterAndLeavingClamps) {
    TypeOverSelection(QStringLiteral("9999"));
    EXPECT_EQ(changes, QStringList({"9", "99", "999", "9999"}));
    EXPECT_EQ(spin->Value(), 9999);  // not clamped while typing

    Leave();
    EXPECT_EQ(spin->Text(), QStringLiteral("5000"));
    EXPECT_EQ(changes, QStringList({"9", "99", "999", "9999", "5000"}));
    EXPECT_EQ(ui.Beeps(), 0);

    // Coming back and leaving again changes nothing.
    spin->setFocus(Qt::TabFocusReason);
    Leave();
    EXPECT_EQ(changes.size(), 5);
}

TEST_F(SpinEditTest, TypingThreeHundredFiresThreeChanges) {
    QList<int> values;
    QObject::connect(spin, &TSpinEdit::Change, [&] { values << spin->Value(); });
    TypeOverSelection(QStringLiteral("300"));
    EXPECT_EQ(values, QList<int>({3, 30, 300}));
}

TEST_F(SpinEditTest, LeavingClampsOnlyValuesOutsideTheBounds) {
    struct Case {
        const char* typed;
        const char* after;
    };
    const Case cases[] = {
        {"9999", "5000"}, {"-5", "50"}, {"7", "50"},    {"300", "300"},
        {"-", "-"},       {"", ""},     {"1.5", "1.5"}, {"+50", "+50"},
    };
    for (const Case& c : cases) {
        Start(QString::fromUtf8(c.typed));
        spin->setFocus(Qt::TabFocusReason);
        Leave();
        EXPECT_EQ(spin->Text(), QString::fromUtf8(c.after)) << c.typed;
        EXPECT_EQ(changes.size(), qstrcmp(c.typed, c.after) == 0 ? 0 : 1) << c.typed;
    }
}

TEST_F(SpinEditTest, OpeningAMenuOrSwitchingWindowsIsNotLeaving) {
    for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        Start(QStringLiteral("9999"));
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(spin->Editor(), &out);
        EXPECT_EQ(spin->Text(), QStringLiteral("9999")) << reason;
        EXPECT_TRUE(changes.isEmpty()) << reason;
    }
}

TEST_F(SpinEditTest, EnterBeepsAndDoesNothingElse) {
    QSignalSpy returns(spin->Editor(), &QLineEdit::returnPressed);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(spin->Editor(), key);
    EXPECT_EQ(ui.events, QStringList({"beep", "beep"}));
    EXPECT_EQ(spin->Text(), QStringLiteral("100"));
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_EQ(returns.count(), 0);
    EXPECT_TRUE(spin->Editor()->hasFocus());
}

TEST_F(SpinEditTest, TypingFilterRefusesOtherPrintableCharactersWithABeep) {
    struct Case {
        const char* keys;
        const char* text;
        int beeps;
    };
    const Case cases[] = {
        {"a", "", 1},      {"12a3", "123", 1}, {"-", "-", 0},   {"+5", "+5", 0},
        {"1.5", "1.5", 0}, {"1,5", "15", 1},   {"x1F", "1", 2}, {"$ 7e", "7", 3},
    };
    for (const Case& c : cases) {
        Start(QString());
        QTest::keyClicks(spin->Editor(), QString::fromUtf8(c.keys));
        EXPECT_EQ(spin->Text(), QString::fromUtf8(c.text)) << c.keys;
        EXPECT_EQ(ui.Beeps(), c.beeps) << c.keys;
    }
    EXPECT_EQ(spin->Value(), 7);

    // The decimal separator is the locale's.
    const platform::FormatSettings saved = platform::Formats();
    platform::Formats().decimalSeparator = QStringLiteral(",");
    Start(QString());
    QTest::keyClicks(spin->Editor(), QStringLiteral("1,5.2"));
    EXPECT_EQ(spin->Text(), QStringLiteral("1,52"));
    EXPECT_EQ(ui.Beeps(), 1);
    platform::Formats() = saved;
}

TEST_F(SpinEditTest, EditingKeysAndClipboardAreNotFiltered) {
    Start(QStringLiteral("1234"));
    QTest::keyClick(spin->Editor(), Qt::Key_End);
    QTest::keyClick(spin->Editor(), Qt::Key_Backspace);
    QTest::keyClick(spin->Editor(), Qt::Key_Home);
    QTest::keyClick(spin->Editor(), Qt::Key_Delete);
    EXPECT_EQ(spin->Text(), QStringLiteral("23"));
    EXPECT_EQ(changes, QStringList({"123", "23"}));

    QApplication::clipboard()->setText(QStringLiteral("12ab"));
    QTest::keyClick(spin->Editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(spin->Editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(spin->Text(), QStringLiteral("12ab"));
    EXPECT_EQ(spin->Value(), 50);

    QTest::keyClick(spin->Editor(), Qt::Key_Z, Qt::ControlModifier);  // undo the paste
    EXPECT_EQ(spin->Text(), QStringLiteral("23"));

    QTest::keyClick(spin->Editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(spin->Editor(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(spin->Text(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("23"));
    EXPECT_EQ(changes, QStringList({"123", "23", "12ab", "23", ""}));
    EXPECT_EQ(ui.Beeps(), 0);
}

TEST_F(SpinEditTest, KeysSentToTheBoxItselfReachTheEditorThroughTheFilter) {
    Start(QString());
    QTest::keyClicks(spin, QStringLiteral("12a"));
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->Text(), QStringLiteral("112"));
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_EQ(changes, QStringList({"1", "12", "112"}));
}

TEST_F(SpinEditTest, ClickingAButtonBringsTheFocusIntoTheBox) {
    Start(QStringLiteral("9999"));
    Leave();  // clamps to 5000
    QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    EXPECT_TRUE(spin->Editor()->hasFocus());
    EXPECT_EQ(spin->Text(), QStringLiteral("4900"));
    EXPECT_EQ(changes, QStringList({"5000", "4900"}));
}

TEST_F(SpinEditTest, ButtonsSitStackedInsideTheRightEdge) {
    EXPECT_EQ(spin->sizeHint(), QSize(73, 22));
    const QRect box = spin->Editor()->rect();
    const QRect up = spin->UpButton()->geometry();
    const QRect down = spin->DownButton()->geometry();
    EXPECT_TRUE(box.contains(up) && box.contains(down));
    EXPECT_EQ(up.left(), down.left());
    EXPECT_EQ(up.bottom() + 1, down.top());
    EXPECT_GT(up.left(), box.width() / 2);
    EXPECT_GE(spin->Editor()->textMargins().right(), up.width());
}

TEST_F(SpinEditTest, HeldButtonRepeatsAfter400ThenEvery100Ms) {
    for (QToolButton* button : {spin->UpButton(), spin->DownButton()}) {
        EXPECT_TRUE(button->autoRepeat());
        EXPECT_EQ(button->autoRepeatDelay(), 400);
        EXPECT_EQ(button->autoRepeatInterval(), 100);
    }

    spin->SetMaxValue(100000);
    spin->SetIncrement(1);
    Start(QStringLiteral("1000"));
    QElapsedTimer held;
    held.start();
    QTest::mousePress(spin->UpButton(), Qt::LeftButton);
    QTest::qWait(650);
    QTest::mouseRelease(spin->UpButton(), Qt::LeftButton);
    const qint64 elapsed = held.elapsed();

    // Repeats at 400, 500 and 600 ms, then one step on release. Timers may run late on a
    // busy machine, so only a repeat having happened and none beyond the time held count.
    const int steps = spin->Value() - 1000;
    EXPECT_GE(steps, 2);
    EXPECT_LE(steps, 1 + 1 + static_cast<int>((elapsed - 400) / 100));
    EXPECT_EQ(changes.size(), steps);
}

}  // namespace
