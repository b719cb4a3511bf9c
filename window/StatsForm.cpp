#include "window/StatsForm.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/widgets/Ui.h"
#include "roulette/Report.h"
#include "roulette/Wheel.h"
#include "window/NumberTable.h"
#include "window/SectorWorker.h"
#include "window/WheelView.h"

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

QString SectorVerdictText(std::optional<double> p) {
    if (!p)
        return QStringLiteral(
                   "Для поиска горячего сектора слишком мало данных: нужно хотя бы %1 спинов.")
            .arg(roulette::kMinSpinsForTest);
    if (*p < 0.01)
        return QStringLiteral(
            "Такой сектор необычен: у честного колеса он бывает реже, чем в одном случае из "
            "ста.");
    if (*p < 0.05)
        return QStringLiteral(
            "Сектор заметный: у честного колеса такой бывает реже, чем в одном случае из "
            "двадцати.");
    return QStringLiteral(
               "Такой сектор обычен для честного колеса: среди %1 дуг какая-нибудь всегда "
               "выделяется.")
        .arg(roulette::kArcs);
}

QString SectorText(const roulette::SectorScan& scan, std::optional<double> p, bool pending) {
    if (scan.spins == 0) return QStringLiteral("Горячий сектор: —");
    QStringList numbers;
    for (int n : roulette::ArcNumbers(scan.hottest))
        numbers << QString::number(n);
    QString text = QStringLiteral("Горячий сектор из %1 номеров: %2\nВыпало: %3, ожидается: %4")
                       .arg(scan.hottest.length)
                       .arg(numbers.join(u' '))
                       .arg(scan.hits)
                       .arg(roulette::DecimalText(scan.expected, 1));
    if (pending)
        text += QStringLiteral(", p считается…");
    else if (p)
        text += QStringLiteral(", ") + PValueText(*p);
    return text + u'.';
}

TStatsForm::TStatsForm(QWidget* parent, std::function<QImage()> chartImage)
    : QWidget(parent, Qt::Window),
      chartImage_(std::move(chartImage)),
      worker_(std::make_unique<TSectorWorker>()) {
    setObjectName(QStringLiteral("statsForm"));
    setWindowTitle(QStringLiteral("Статистика"));
    // Shown beside the main window while the player types there: it does not take the
    // keyboard when it opens, and its tooltips show whichever window is active.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    // Everything sits in a scroll area, so the window can be smaller than its content
    // where the screen has no room for all of it.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    Scroll_Area = new QScrollArea(this);
    Scroll_Area->setFrameShape(QFrame::NoFrame);
    Scroll_Area->setWidgetResizable(true);
    Scroll_Area->setFocusPolicy(Qt::NoFocus);  // a click on the text leaves the focus alone
    outer->addWidget(Scroll_Area);
    auto* content = new QWidget(Scroll_Area);
    Scroll_Area->setWidget(content);
    // Two columns. At the left the spin count with the buttons, the pairs beside the dozens
    // and columns, the number table; at the right the wheel with its hottest sector, then
    // the test of the 36 counts. Cut short, the window shows the top of both.
    auto* columns = new QHBoxLayout(content);
    auto* layout = new QVBoxLayout;
    columns->addLayout(layout);
    auto* right = new QVBoxLayout;
    columns->addLayout(right);

    auto* head = new QHBoxLayout;
    layout->addLayout(head);
    Spins_Label = new QLabel(content);
    QFont bold = Spins_Label->font();
    bold.setBold(true);
    Spins_Label->setFont(bold);
    head->addWidget(Spins_Label);
    head->addStretch(1);
    CopyStats_Btn = new QPushButton(QStringLiteral("Копировать статистику"), content);
    CopyStats_Btn->setToolTip(
        QStringLiteral("Скопировать все цифры окна текстом, по строке на показатель.\n"
                       "Ctrl+C — то же."));
    Copy_Btn = new QPushButton(QStringLiteral("Копировать график"), content);
    Save_Btn = new QPushButton(QStringLiteral("Сохранить график…"), content);
    head->addWidget(CopyStats_Btn);
    head->addWidget(Copy_Btn);
    head->addWidget(Save_Btn);

    auto* top = new QHBoxLayout;
    layout->addLayout(top);

    // The even-money pairs.
    auto* pairsBox = new QGroupBox(QStringLiteral("Равные шансы"), content);
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
    auto* groupsBox = new QGroupBox(QStringLiteral("Дюжины и колонны"), content);
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
    auto* testBox = new QGroupBox(QStringLiteral("Честное ли колесо"), content);
    auto* test = new QVBoxLayout(testBox);
    Test_Label = new QLabel(testBox);
    Test_Label->setWordWrap(true);
    test->addWidget(Test_Label);
    Verdict_Label = new QLabel(testBox);
    Verdict_Label->setWordWrap(true);
    Verdict_Label->setFont(bold);
    test->addWidget(Verdict_Label);
    test->addStretch(1);

    // The numbers, with the legend and the hot and cold lists under the table.
    auto* numbersBox = new QGroupBox(QStringLiteral("Номера"), content);
    auto* numbers = new QVBoxLayout(numbersBox);
    Numbers_Table = new TNumberTable(numbersBox);
    numbers->addWidget(Numbers_Table, 0, Qt::AlignLeft);
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
    layout->addWidget(numbersBox, 1);

    auto* wheelBox = new QGroupBox(QStringLiteral("Колесо"), content);
    auto* wheel = new QVBoxLayout(wheelBox);
    // The sector's figures and sentence above the wheel, so that a window cut short still
    // shows them.
    Sector_Label = new QLabel(wheelBox);
    Sector_Label->setWordWrap(true);
    wheel->addWidget(Sector_Label);
    SectorVerdict_Label = new QLabel(wheelBox);
    SectorVerdict_Label->setWordWrap(true);
    SectorVerdict_Label->setFont(bold);
    wheel->addWidget(SectorVerdict_Label);
    Wheel_View = new TWheelView(wheelBox);
    wheel->addWidget(Wheel_View, 0, Qt::AlignHCenter);
    const int rightWidth = Wheel_View->sizeHint().width() + 40;
    wheelBox->setFixedWidth(rightWidth);
    testBox->setFixedWidth(rightWidth);
    right->addWidget(wheelBox);
    right->addWidget(testBox);
    right->addStretch(1);

    worker_->OnResult = [this](std::uint64_t id, std::optional<double> p) {
        if (id != request_) return;  // a newer update has replaced it
        sectorP_ = p;
        pending_ = false;
        ShowSector();
    };

    connect(CopyStats_Btn, &QPushButton::clicked, this, [this] { CopyStatistics(); });
    connect(Copy_Btn, &QPushButton::clicked, this, [this] { CopyChart(); });
    connect(Save_Btn, &QPushButton::clicked, this, [this] { SaveChart(); });

    // F2, which opened the window, and Esc close it again.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_Escape)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, [this] { CopyStatistics(); });

    // The keyboard starts on the copy button: Space copies the chart at once.
    setFocusProxy(Copy_Btn);
    Copy_Btn->setFocus();
    ShowStatistics(roulette::Statistics());
}

TStatsForm::~TStatsForm() = default;

QSize TStatsForm::PreferredSize() const {
    const QWidget* content = Scroll_Area->widget();
    return content->sizeHint().expandedTo(content->minimumSizeHint());
}

void TStatsForm::ShowStatistics(const roulette::Statistics& s) {
    stats_ = s;
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

    // The hottest sector at once; its p-value from the worker, unless these are the counts
    // it was last asked about.
    counts_ = roulette::CountsOf(s);
    scan_ = roulette::ScanSectors(counts_);
    Wheel_View->SetCounts(counts_,
                          s.spins > 0 ? std::optional<roulette::Arc>(scan_.hottest) : std::nullopt);
    if (s.spins < roulette::kMinSpinsForTest) {
        ++request_;  // a result still on its way is for other counts
        sectorP_.reset();
        pending_ = false;
        askedFor_.reset();
    } else if (!askedFor_ || *askedFor_ != counts_) {
        askedFor_ = counts_;
        sectorP_.reset();
        pending_ = true;
        worker_->Request(scan_, roulette::SectorSeed(counts_), roulette::kSectorDraws, ++request_);
    }
    ShowSector();
}

void TStatsForm::ShowSector() {
    Sector_Label->setText(SectorText(scan_, sectorP_, pending_));
    if (pending_)
        SectorVerdict_Label->clear();
    else
        SectorVerdict_Label->setText(SectorVerdictText(sectorP_));
}

QString TStatsForm::ReportText() {
    std::optional<double> p = sectorP_;
    if (pending_)  // the same figure the worker will show: the seed follows the counts
        p = roulette::SectorPValue(scan_, roulette::SectorSeed(counts_));
    return roulette::StatisticsReport(stats_, scan_, p);
}

void TStatsForm::CopyStatistics() {
    QGuiApplication::clipboard()->setText(ReportText());
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
