// A soak of random user input on the real, shown window: a seeded stream of 10,000 key
// presses, clicks, drags, hovers and wheel turns over the number box, the button, the
// page-size box and the chart, as a restless user would make them. Message boxes are
// recorded instead of shown. No crash, no leak (the sanitizer build runs this too), and the
// list saved on close is the list in the box. VEXILO_SOAK_SEED picks another stream.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QToolButton>

#include "chart/ChartWidget.h"
#include "chart/Series.h"
#include "platform/widgets/SpinEdit.h"
#include "tests/reliability/Session.h"

namespace {

quint32 Seed() {
    bool ok = false;
    const int seed = qEnvironmentVariableIntValue("VEXILO_SOAK_SEED", &ok);
    return ok ? static_cast<quint32>(seed) : 20240611u;
}

class Soak {
public:
    Soak(TmainForm& form, quint32 seed) : form_(form), rng_(seed) {}

    // One random user action.
    void Step() {
        const int roll = Pick(1000);
        if (roll < 300) return TypeNumberAtEnd();
        if (roll < 400) return Key(Digit());
        if (roll < 480) return Key(Qt::Key_Space, QStringLiteral(" "));
        if (roll < 590) return QTest::keyClick(form_.Numbers_Memo, Qt::Key_Return);
        if (roll < 630) return QTest::keyClick(form_.Numbers_Memo, Qt::Key_Backspace);
        if (roll < 650) return Key(Junk());
        if (roll < 690) return QTest::keyClick(form_.Numbers_Memo, CaretKey());
        if (roll < 720) return QTest::mouseClick(form_.Show_Btn, Qt::LeftButton);
        if (roll < 750)
            return QTest::mouseClick(
                Pick(2) ? form_.DotsPerPage_SE->UpButton() : form_.DotsPerPage_SE->DownButton(),
                Qt::LeftButton);
        if (roll < 765) return TypePageSize();
        if (roll < 870) return Drag();
        if (roll < 920) return QTest::mouseMove(form_.Chart1, ChartPoint());
        if (roll < 950) return Wheel();
        if (roll < 990)
            return QTest::mouseClick(form_.Numbers_Memo->viewport(), Qt::LeftButton, {},
                                     MemoPoint());
        if (roll < 999) return QTest::keyClick(form_.Numbers_Memo, Qt::Key_Z, Qt::ControlModifier);
        // Rarely: select everything and delete it.
        QTest::keyClick(form_.Numbers_Memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(form_.Numbers_Memo, Qt::Key_Delete);
    }

private:
    int Pick(int n) { return static_cast<int>(rng_.bounded(n)); }

    void Key(const QString& text) {
        for (QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClicks(form_.Numbers_Memo, QString(c));
            else  // QTest knows no key code for it: a key press that only carries its text
                QTest::sendKeyEvent(QTest::Click, form_.Numbers_Memo, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }
    void Key(Qt::Key key, const QString& text) {
        QTest::sendKeyEvent(QTest::Click, form_.Numbers_Memo, key, text, Qt::NoModifier);
    }
    // What the user does most: a valid number at the end of the list.
    void TypeNumberAtEnd() {
        QTest::keyClick(form_.Numbers_Memo, Qt::Key_End, Qt::ControlModifier);
        Key(QStringLiteral(" ") + QString::number(1 + Pick(36)) + QStringLiteral(" "));
    }
    QString Digit() { return QString::number(Pick(10)); }
    QString Junk() {
        static const char* const kJunk[] = {"a", "-", "+", "$", "x", "0x", ".", "\t", "Ж", "99"};
        return QString::fromUtf8(kJunk[Pick(10)]);
    }
    Qt::Key CaretKey() {
        static const Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
                                        Qt::Key_End,  Qt::Key_Up,    Qt::Key_Down};
        return kKeys[Pick(6)];
    }
    void TypePageSize() {
        QLineEdit* editor = form_.DotsPerPage_SE->Editor();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, QString::number(Pick(7000) - 500));
        if (Pick(2)) QTest::keyClick(editor, Qt::Key_Tab);  // leaving the box clamps
    }
    QPoint ChartPoint() {
        const QSize s = form_.Chart1->size();
        return QPoint(Pick(std::max(1, s.width())), Pick(std::max(1, s.height())));
    }
    QPoint MemoPoint() {
        const QSize s = form_.Numbers_Memo->viewport()->size();
        return QPoint(Pick(std::max(1, s.width())), Pick(std::max(1, s.height())));
    }
    void Drag() {
        QPoint p = ChartPoint();
        QTest::mousePress(form_.Chart1, Qt::LeftButton, {}, p);
        const int moves = 1 + Pick(8);
        for (int i = 0; i < moves; ++i) {
            // Far drags too: the view may leave the data on either side.
            p += QPoint(Pick(2001) - 1000, Pick(41) - 20);
            QTest::mouseMove(form_.Chart1, p);
        }
        QTest::mouseRelease(form_.Chart1, Qt::LeftButton, {}, p);
    }
    void Wheel() {
        const QPoint at = ChartPoint();
        QWheelEvent event(at, form_.Chart1->mapToGlobal(at), QPoint(),
                          QPoint(0, Pick(2) ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(form_.Chart1, &event);
    }

    TmainForm& form_;
    QRandomGenerator rng_;
};

TEST(Soak, TenThousandRandomUserEventsKeepTheListAndSaveIt) {
    reliability::Session s;
    s.Start();
    TmainForm& form = s.Form();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    const quint32 seed = Seed();
    Soak soak(form, seed);
    for (int i = 0; i < 10000; ++i)
        soak.Step();
    // A last redraw: the walk never draws more points than the list has entries.
    QTest::mouseClick(form.Show_Btn, Qt::LeftButton);
    EXPECT_LE(form.Series1->Count(), s.Memo().count(u' ') + 1);
    std::printf(
        "[ REPORT   ] soak (seed %u): 10000 events, %lld message boxes, %lld error boxes, "
        "%lld beeps, %d chart series, list of %lld characters\n",
        seed, static_cast<long long>(s.ui.Messages().size()),
        static_cast<long long>(s.ui.Errors().size()), static_cast<long long>(s.ui.Beeps()),
        form.Chart1->Chart().SeriesCount(), static_cast<long long>(s.Memo().size()));

    const QString list = s.Memo();
    const int pageSize = form.DotsPerPage_SE->Value();
    ASSERT_TRUE(s.Close()) << s.ui.Errors().join('\n').toStdString();
    EXPECT_TRUE(s.dir.Read("System/Numbers_Memo.txt") == list.toUtf8())
        << "the saved list is not the list in the box";
    EXPECT_TRUE(s.dir.Read("settings.dat")
                    .contains("DotsPerPage_SE.Value=" + QByteArray::number(pageSize) + "\n"));
}

}  // namespace
