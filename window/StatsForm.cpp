#include "window/StatsForm.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/widgets/Ui.h"
#include "roulette/Wheel.h"
#include "window/NumberTable.h"

namespace {

QLabel* Cell(QGridLayout* grid, int row, int column, const QString& text = QString()) {
    auto* label = new QLabel(text);
    label->setAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                    : Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(label, row, column);
    return label;
}

QLabel* Header(QGridLayout* grid, int column, const QString& text) {
    QLabel* label = Cell(grid, 0, column, text);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

}  // namespace

QString TestText(const roulette::Statistics& s) {
    if (s.spins == 0) return QStringLiteral("Хи-квадрат: —");
    QString text = QStringLiteral("Хи-квадрат по %1 номерам: %2 при %3 степенях свободы")
                       .arg(roulette::kNumbers)
                       .arg(roulette::DecimalText(s.chiSquare, 2))
                       .arg(roulette::kDegreesOfFreedom);
    if (s.pValue) text += QStringLiteral(", ") + PValueText(*s.pValue);
    return text + u'.';
}

QString VerdictText(roulette::Verdict verdict) {
    switch (verdict) {
        case roulette::Verdict::TooLittleData:
            return QStringLiteral(
                       "Для проверки колеса слишком мало данных: нужно хотя бы %1 спинов "
                       "(по %2 на номер).")
                .arg(roulette::kMinSpinsForTest)
                .arg(roulette::kMinExpectedPerNumber);
        case roulette::Verdict::TooEven:
            return QStringLiteral("Номера выпадают ровнее, чем обычно бывает у честного колеса.");
        case roulette::Verdict::Ordinary:
            return QStringLiteral("Такой разброс обычен для честного колеса.");
        case roulette::Verdict::Notable:
            return QStringLiteral(
                "Разброс заметный: у честного колеса такой бывает реже, чем в одном случае "
                "из двадцати.");
        case roulette::Verdict::Unusual:
            return QStringLiteral(
                "Такой разброс необычен: у честного колеса он бывает реже, чем в одном случае "
                "из ста.");
    }
    return QString();
}

TStatsForm::TStatsForm(QWidget* parent, std::function<QImage()> chartImage)
    : QWidget(parent, Qt::Window), chartImage_(std::move(chartImage)) {
    setObjectName(QStringLiteral("statsForm"));
    setWindowTitle(QStringLiteral("Статистика"));
    // Three rows: the spin count with the buttons; the pairs, the dozens and columns and
    // the test side by side; the number table. Wide rather than tall, so that it can sit
    // below the main window without hiding the chart.
    auto* layout = new QVBoxLayout(this);

    auto* head = new QHBoxLayout;
    layout->addLayout(head);
    Spins_Label = new QLabel(this);
    QFont bold = Spins_Label->font();
    bold.setBold(true);
    Spins_Label->setFont(bold);
    head->addWidget(Spins_Label);
    head->addStretch(1);
    Copy_Btn = new QPushButton(QStringLiteral("Копировать график"), this);
    Save_Btn = new QPushButton(QStringLiteral("Сохранить график…"), this);
    head->addWidget(Copy_Btn);
    head->addWidget(Save_Btn);

    auto* top = new QHBoxLayout;
    layout->addLayout(top);

    // The even-money pairs.
    auto* pairsBox = new QGroupBox(QStringLiteral("Равные шансы"), this);
    auto* pairs = new QGridLayout(pairsBox);
    Header(pairs, 1, QStringLiteral("Выпало"));
    Header(pairs, 2, QStringLiteral("Доля"));
    Header(pairs, 3, QStringLiteral("Серия сейчас"));
    Header(pairs, 4, QStringLiteral("Самая длинная"));
    int row = 1;
    for (int p = 0; p < 3; ++p) {
        for (int side = 0; side < 2; ++side, ++row) {
            Cell(pairs, row, 0, roulette::SideHeading(static_cast<roulette::Pair>(p), side));
            for (int k = 0; k < 4; ++k)
                Pair_Labels[p][side][k] = Cell(pairs, row, k + 1);
        }
    }
    Balance_Label = new QLabel(pairsBox);
    pairs->addWidget(Balance_Label, row, 0, 1, 5);
    top->addWidget(pairsBox);

    // Dozens and columns.
    auto* groupsBox = new QGroupBox(QStringLiteral("Дюжины и колонны"), this);
    auto* groups = new QGridLayout(groupsBox);
    Header(groups, 1, QStringLiteral("Выпало"));
    Header(groups, 2, QStringLiteral("Доля"));
    for (int g = 0; g < 6; ++g) {
        Cell(groups, g + 1, 0, roulette::GroupName(g));
        Group_Labels[g] = {Cell(groups, g + 1, 1), Cell(groups, g + 1, 2)};
    }
    groups->setRowStretch(7, 1);
    top->addWidget(groupsBox);

    // The test against an even wheel.
    auto* testBox = new QGroupBox(QStringLiteral("Честное ли колесо"), this);
    testBox->setFixedWidth(250);
    auto* test = new QVBoxLayout(testBox);
    Test_Label = new QLabel(testBox);
    Test_Label->setWordWrap(true);
    test->addWidget(Test_Label);
    Verdict_Label = new QLabel(testBox);
    Verdict_Label->setWordWrap(true);
    Verdict_Label->setFont(bold);
    test->addWidget(Verdict_Label);
    test->addStretch(1);
    top->addWidget(testBox);

    // The numbers, with the legend and the hot and cold lists beside the table.
    auto* numbersBox = new QGroupBox(QStringLiteral("Номера"), this);
    auto* numbers = new QHBoxLayout(numbersBox);
    Numbers_Table = new TNumberTable(numbersBox);
    numbers->addWidget(Numbers_Table, 0, Qt::AlignTop);
    auto* side = new QVBoxLayout;
    numbers->addLayout(side, 1);
    auto* legend = new QLabel(
        QStringLiteral("В клетке: сколько раз выпал номер / сколько спинов назад он выпал "
                       "последний раз (— ещё не выпадал).\nГорячие номера в жёлтой рамке, "
                       "холодные — в голубой."),
        numbersBox);
    legend->setWordWrap(true);
    side->addWidget(legend);
    HotCold_Label = new QLabel(numbersBox);
    HotCold_Label->setWordWrap(true);
    side->addWidget(HotCold_Label);
    side->addStretch(1);
    layout->addWidget(numbersBox);

    connect(Copy_Btn, &QPushButton::clicked, this, [this] { CopyChart(); });
    connect(Save_Btn, &QPushButton::clicked, this, [this] { SaveChart(); });

    // F2, which opened the window, and Esc close it again.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_Escape)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }

    // The keyboard starts on the copy button: Space copies the chart at once.
    setFocusProxy(Copy_Btn);
    Copy_Btn->setFocus();
    ShowStatistics(roulette::Statistics());
}

void TStatsForm::ShowStatistics(const roulette::Statistics& s) {
    Spins_Label->setText(QStringLiteral("Спинов: ") + QString::number(s.spins));
    const roulette::PairStats* pairs[3] = {&s.evenOdd, &s.redBlack, &s.lowHigh};
    for (int p = 0; p < 3; ++p) {
        for (int side = 0; side < 2; ++side) {
            const auto& labels = Pair_Labels[p][side];
            labels[0]->setText(QString::number(pairs[p]->count[side]));
            labels[1]->setText(roulette::ShareText(pairs[p]->count[side], s.spins));
            labels[2]->setText(pairs[p]->currentSide == side ? QString::number(pairs[p]->currentRun)
                                                             : QStringLiteral("—"));
            labels[3]->setText(QString::number(pairs[p]->longest[side]));
        }
    }
    if (s.spins == 0) {
        Balance_Label->setText(QStringLiteral("Баланс чёт/нечет: спинов ещё нет.\n"));
    } else {
        // The extremes are of the balance after each spin: the start at zero, where the
        // chart's zero line runs, is not among them, and the labels say so.
        Balance_Label->setText(QStringLiteral("Баланс чёт/нечет после спинов: наибольший %1 "
                                              "(после спина %2),\nнаименьший %3 (после "
                                              "спина %4).")
                                   .arg(roulette::SignedText(s.balanceHigh))
                                   .arg(s.balanceHighAt)
                                   .arg(roulette::SignedText(s.balanceLow))
                                   .arg(s.balanceLowAt));
    }
    for (int g = 0; g < 6; ++g) {
        const int count = g < 3 ? s.dozens[g] : s.columns[g - 3];
        Group_Labels[g][0]->setText(QString::number(count));
        Group_Labels[g][1]->setText(roulette::ShareText(count, s.spins));
    }
    Numbers_Table->SetStatistics(s);
    if (s.spins == 0) {
        HotCold_Label->setText(
            QStringLiteral("Горячие и холодные номера появятся после "
                           "первых спинов."));
    } else {
        HotCold_Label->setText(QStringLiteral("Горячие: %1.\nХолодные: %2.")
                                   .arg(roulette::NumbersText(s.hottest, QStringLiteral(", ")),
                                        roulette::NumbersText(s.coldest, QStringLiteral(", "))));
    }
    Test_Label->setText(TestText(s));
    Verdict_Label->setText(VerdictText(roulette::VerdictOf(s)));
}

void TStatsForm::CopyChart() {
    QGuiApplication::clipboard()->setImage(chartImage_());
}

void TStatsForm::SaveChart() {
    QString path = platform::CurrentUi().GetSaveFileName(this, QStringLiteral("Сохранить график"),
                                                         QStringLiteral("график.png"),
                                                         QStringLiteral("Изображения PNG (*.png)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
    if (!chartImage_().save(path, "PNG"))
        platform::ShowMessage(QStringLiteral("Не удалось сохранить график в файл ") + path +
                              QStringLiteral("!"));
}
