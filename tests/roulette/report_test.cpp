// The report copied from the statistics window: its labels and their order, the number of
// tab-separated fields on each line, and every value for a small list worked by hand.
#include <gtest/gtest.h>

#include <QLocale>
#include <QMap>
#include <QStringList>

#include "roulette/Report.h"
#include "roulette/Sector.h"
#include "roulette/Statistics.h"

namespace {

// The report's lines split at the tabs, by label; the labels in their order.
struct Parsed {
    QStringList labels;
    QMap<QString, QStringList> values;
};

Parsed Parse(const QString& report) {
    EXPECT_TRUE(report.endsWith('\n'));
    Parsed parsed;
    for (const QString& line : report.split('\n', Qt::SkipEmptyParts)) {
        QStringList fields = line.split('\t');
        const QString label = fields.takeFirst();
        EXPECT_FALSE(parsed.values.contains(label)) << "twice: " << label.toStdString();
        parsed.labels << label;
        parsed.values[label] = fields;
    }
    return parsed;
}

QString Report(const std::vector<int>& numbers, std::optional<double> sectorP) {
    const roulette::Statistics s = roulette::FromNumbers(numbers);
    return roulette::StatisticsReport(s, roulette::ScanSectors(roulette::CountsOf(s)), sectorP);
}

TEST(ReportTest, LabelsInOrderAndTheFieldsOfEachLine) {
    const Parsed r = Parse(Report({22, 18, 29, 22, 5, 36}, 0.25));
    const QStringList head = {"Спинов", "Хи-квадрат", "p хи-квадрат", "Горячий сектор",
                              "p сектора"};
    ASSERT_GE(r.labels.size(), head.size());
    EXPECT_EQ(r.labels.mid(0, head.size()), head);
    // Per label, the values after it: the sector has its numbers, hits and expected; a
    // side of a pair its count, share, current and longest run; a group its count and
    // share; a number its count and spins since.
    const QMap<QString, int> fields = {{"Спинов", 1},
                                       {"Хи-квадрат", 1},
                                       {"p хи-квадрат", 1},
                                       {"Горячий сектор", 3},
                                       {"p сектора", 1},
                                       {"Чёт", 4},
                                       {"Нечет", 4},
                                       {"Красное", 4},
                                       {"Чёрное", 4},
                                       {"1–18", 4},
                                       {"19–36", 4},
                                       {"Баланс чёт/нечет наибольший", 2},
                                       {"Баланс чёт/нечет наименьший", 2},
                                       {"1-я дюжина (1–12)", 2},
                                       {"2-я дюжина (13–24)", 2},
                                       {"3-я дюжина (25–36)", 2},
                                       {"1-я колонна (1, 4 … 34)", 2},
                                       {"2-я колонна (2, 5 … 35)", 2},
                                       {"3-я колонна (3, 6 … 36)", 2},
                                       {"Горячие номера", 1},
                                       {"Холодные номера", 1}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        EXPECT_EQ(r.values.value(it.key()).size(), it.value()) << it.key().toStdString();
    for (int n = 1; n <= 36; ++n)
        EXPECT_EQ(r.values.value(QString("Номер %1").arg(n)).size(), 2) << n;
    EXPECT_EQ(r.labels.size(), fields.size() + 36);
}

TEST(ReportTest, ValuesOfASmallListWorkedByHand) {
    const QString sep = QLocale().decimalPoint();
    const auto dec = [&](const char* whole, const char* frac) {
        return QString(whole) + sep + frac;
    };
    // 22 18 29 22 5 36: even E E O E O E, red B R B B R R, low H L H H L H.
    const Parsed r = Parse(Report({22, 18, 29, 22, 5, 36}, 0.0004));
    const QMap<QString, QStringList> want = {
        {"Спинов", {"6"}},
        // Expected 1/6 each: ((2 - 1/6)^2 + 4 (1 - 1/6)^2 + 31 (1/6)^2) * 6 = 42.
        {"Хи-квадрат", {dec("42", "00")}},
        {"p хи-квадрат", {"—"}},  // below 180 spins
        // 22 18 29 hold 4 of the 6 spins, 0.5 expected.
        {"Горячий сектор", {"22 18 29", "4", dec("0", "5")}},
        {"p сектора", {"< " + dec("0", "001")}},
        {"Чёт", {"4", dec("66", "7") + " %", "1", "2"}},
        {"Нечет", {"2", dec("33", "3") + " %", "—", "1"}},
        {"Красное", {"3", dec("50", "0") + " %", "2", "2"}},
        {"Чёрное", {"3", dec("50", "0") + " %", "—", "2"}},
        {"1–18", {"2", dec("33", "3") + " %", "—", "1"}},
        {"19–36", {"4", dec("66", "7") + " %", "1", "2"}},
        // Balance after each spin: +1 +2 +1 +2 +1 +2.
        {"Баланс чёт/нечет наибольший", {"+2", "2"}},
        {"Баланс чёт/нечет наименьший", {"+1", "1"}},
        {"1-я дюжина (1–12)", {"1", dec("16", "7") + " %"}},
        {"2-я дюжина (13–24)", {"3", dec("50", "0") + " %"}},
        {"3-я дюжина (25–36)", {"2", dec("33", "3") + " %"}},
        {"1-я колонна (1, 4 … 34)", {"2", dec("33", "3") + " %"}},
        {"2-я колонна (2, 5 … 35)", {"2", dec("33", "3") + " %"}},
        {"3-я колонна (3, 6 … 36)", {"2", dec("33", "3") + " %"}},
        {"Горячие номера", {"22, 36, 5, 29, 18"}},
        {"Холодные номера", {"1, 2, 3, 4, 6"}},
        {"Номер 22", {"2", "2"}},
        {"Номер 36", {"1", "0"}},
        {"Номер 18", {"1", "4"}},
        {"Номер 1", {"0", "—"}},
    };
    for (auto it = want.begin(); it != want.end(); ++it)
        EXPECT_EQ(r.values.value(it.key()), it.value())
            << it.key().toStdString() << ": " << r.values.value(it.key()).join('|').toStdString();
}

TEST(ReportTest, PValuesAndAnEmptyList) {
    const QString sep = QLocale().decimalPoint();
    std::vector<int> many;
    for (int i = 0; i < 360; ++i)
        many.push_back(i % 36 + 1);  // every number ten times
    const Parsed even = Parse(Report(many, 0.25));
    EXPECT_EQ(even.values.value("p хи-квадрат"), QStringList{"1" + sep + "000"});
    EXPECT_EQ(even.values.value("p сектора"), QStringList{"0" + sep + "250"});
    EXPECT_EQ(Parse(Report(many, std::nullopt)).values.value("p сектора"), QStringList{"—"});

    const Parsed empty = Parse(Report({}, std::nullopt));
    EXPECT_EQ(empty.values.value("Спинов"), QStringList{"0"});
    for (const char* label : {"Хи-квадрат", "p хи-квадрат", "Горячий сектор", "p сектора",
                              "Баланс чёт/нечет наибольший", "Горячие номера"})
        EXPECT_EQ(empty.values.value(label), QStringList{"—"}) << label;
    EXPECT_EQ(empty.values.value("Чёт"), (QStringList{"0", "—", "—", "0"}));
    EXPECT_EQ(empty.values.value("Номер 7"), (QStringList{"0", "—"}));
}

}  // namespace
