#include "window/MainForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

#include "chart/ChartWidget.h"
#include "chart/Series.h"
#include "formstate/AutoSaver.h"
#include "formstate/FormSettings.h"
#include "formstate/QtAdapters.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/GroupBox.h"
#include "platform/widgets/Memo.h"
#include "platform/widgets/SpinEdit.h"
#include "platform/widgets/Ui.h"
#include "roulette/Statistics.h"
#include "roulette/Wheel.h"
#include "window/ChartDesign.h"
#include "window/Diagram.h"
#include "window/StatsForm.h"
#include "window/StatsPlacement.h"

TmainForm* mainForm = nullptr;

namespace {

const QString kCaption = QStringLiteral("Vexilo ver. 0.1");
const QString kNoList = QStringLiteral("Не задан список номеров!");
const QString kBadNumber = QStringLiteral("Ошибка обработки номера: ");
const QString kOutOfRange = QStringLiteral("Числа должны быть в диапазоне [1, 36]!");
const QString kAutoSaveFailed = QStringLiteral("Номера не сохранены автоматически.\n");

// Heights and distances of the settings group at 96 dpi.
constexpr int kGroupHeight = 105;
constexpr int kRightStrip = 200;

}  // namespace

template <typename T>
T* TmainForm::Add(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    components_.push_back(Component{object->objectName(), object});
    return object;
}

TmainForm::TmainForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("mainForm"));
    setWindowTitle(QStringLiteral("mainForm"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    setAutoFillBackground(true);
    CreateComponents();
    // The settings store walks this window's components in creation order.
    formstate::RegisterQtForm(this, [this] {
        std::vector<formstate::NamedObject> list;
        for (const Component& c : components_)
            list.push_back({c.name, c.object});
        return list;
    });
    ApplyChartDesign();
    resize(kDesignWidth, kDesignHeight);
    LayoutControls();
    // The number box takes its width now, while it is empty: the list restored into it is
    // laid out once, not once more when the window is shown.
    Numbers_Memo->SettleSize();
}

TmainForm::~TmainForm() {
    saver_.reset();  // waits for the save being written
    if (mainForm == this) mainForm = nullptr;
}

void TmainForm::CreateComponents() {
    GroupBox1 = Add(new platform::TGroupBox(QStringLiteral("Настройки"), this), "GroupBox1");
    Label1 = Add(new QLabel(QStringLiteral("Точек на странице"), GroupBox1), "Label1");
    Show_Btn = Add(new platform::TButton(QStringLiteral("Показать график"), GroupBox1), "Show_Btn");
    QFont bold = Show_Btn->font();
    bold.setBold(true);
    Show_Btn->setFont(bold);
    Numbers_Memo = Add(new platform::TMemo(GroupBox1), "Numbers_Memo");
    DotsPerPage_SE = Add(new platform::TSpinEdit(GroupBox1), "DotsPerPage_SE");
    DotsPerPage_SE->SetMinValue(50);
    DotsPerPage_SE->SetMaxValue(5000);
    DotsPerPage_SE->SetIncrement(100);
    DotsPerPage_SE->SetValue(100);

    // The log group and its controls are part of the window but never shown or used.
    LogGroupBox = Add(new platform::TGroupBox(QStringLiteral("Лог работы"), this), "LogGroupBox");
    LogGroupBox->setFont(bold);
    LogGroupBox->setGeometry(1500, 24, 381, 154);
    LogGroupBox->setVisible(false);
    Log = Add(new QTextEdit(LogGroupBox), "Log");
    Log->setGeometry(5, 18, 371, 101);
    Log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Debug_CheckBox =
        Add(new QCheckBox(QStringLiteral("Выводить в лог отладочную информацию"), LogGroupBox),
            "Debug_CheckBox");
    Debug_CheckBox->setGeometry(8, 147, 233, 17);
    ClearLogBitBtn =
        Add(new QPushButton(QStringLiteral("Очистить"), LogGroupBox), "ClearLogBitBtn");
    ClearLogBitBtn->setGeometry(153, 124, 100, 25);
    SaveLogBitBtn = Add(new QPushButton(QStringLiteral("Сохранить"), LogGroupBox), "SaveLogBitBtn");
    SaveLogBitBtn->setGeometry(276, 124, 100, 25);
    UserAgentListBox = Add(new QListWidget(LogGroupBox), "UserAgentListBox");
    UserAgentListBox->setGeometry(2000, 88, 128, 66);
    UserAgentListBox->setVisible(false);

    Chart1 = Add(new chart::TChartWidget(this), "Chart1");
    Series1 = Add(new chart::TPointSeries(this), "Series1");
    Timer1 = Add(new QTimer(this), "Timer1");
    Timer1->setInterval(500);  // disabled: never started

    // Tab order: the settings group (button, number box, page-size box), then the chart.
    QWidget::setTabOrder(Show_Btn, Numbers_Memo);
    QWidget::setTabOrder(Numbers_Memo, DotsPerPage_SE);
    QWidget::setTabOrder(DotsPerPage_SE, Chart1);

    connect(Show_Btn, &QPushButton::clicked, this, [this] { Show_BtnClick(); });
    connect(DotsPerPage_SE, &platform::TSpinEdit::Change, this, [this] { DotsPerPage_SEChange(); });
    Numbers_Memo->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) {
        Numbers_MemoKeyDown(key, shift);
    };
    Chart1->OnAfterDraw = [this] { Chart1AfterDraw(); };

    // The statistics window: F2 anywhere in this window; the button's tooltip tells of it.
    Show_Btn->setToolTip(
        QStringLiteral("Перерисовать график по списку номеров.\n"
                       "F2 — окно статистики."));
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] { ToggleStatistics(); });
    Chart1->OnPointToolTip = [this](const chart::TChartSeries& series, int index) {
        return &series == Series1 ? SquareToolTip(index) : QString();
    };
    // The squares' tooltips show also while the statistics window is the active one.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    // Typing in the number box is saved once the keys pause (only while saving is on).
    typingSave_ = new QTimer(this);
    typingSave_->setSingleShot(true);
    typingSave_->setInterval(kTypingSaveDelayMs);
    connect(typingSave_, &QTimer::timeout, this, [this] { RequestAutoSave(); });
    connect(Numbers_Memo, &platform::TMemo::textChanged, this, [this] {
        if (saver_) typingSave_->start();
    });
}

void TmainForm::ApplyChartDesign() {
    diagram::ApplyDesign(Chart1->Chart(), *Series1);
}

void TmainForm::LayoutControls() {
    const int w = width();
    const int h = height();
    GroupBox1->setGeometry(0, h - kGroupHeight, w, kGroupHeight);
    Chart1->setGeometry(0, 0, w, std::max(0, h - kGroupHeight));
    // The right-hand strip keeps its distance to the group box's right edge.
    const int shift = w - kDesignWidth;
    Show_Btn->setGeometry(835 + shift, 16, 179, 25);
    Label1->adjustSize();
    Label1->move(835 + shift, 52);
    DotsPerPage_SE->setGeometry(941 + shift, 47, 73, 22);
    // The number box fills the group box less 3 pixels at left, top and bottom and 200 at
    // the right of its inner area.
    Numbers_Memo->setGeometry(5, 18, std::max(0, w - 5 - 2 - kRightStrip), 82);
}

void TmainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutControls();
}

chart::TChartAxis& TmainForm::BottomAxis() {
    return Chart1->Chart().BottomAxis();
}

void TmainForm::FormCreate() {
    mainForm->setWindowTitle(kCaption);
    QCoreApplication::processEvents();
    // Restore only from a settings file; a directory of that name counts as none.
    const QString settings = formstate::SettingsFilePath();
    if (QFileInfo(settings).isFile()) formstate::LoadFormSettings(settings);
    Series1->Clear();
    BottomAxis().SetMaximum(DotsPerPage_SE->Value());
    AddZeroLine();
    DrawDiagram(true);
    ScrollMemoToEnd(Numbers_Memo);
}

void TmainForm::FormClose() {
    // The close writes the newest state itself: a save still waiting is dropped, and the
    // one being written finishes first, so the files never go back to an older list.
    if (saver_) saver_->Flush();
    formstate::SaveFormSettings(formstate::SettingsFilePath());
}

void TmainForm::SetAutoSave(bool on) {
    if (!on) {
        typingSave_->stop();
        saver_.reset();
        return;
    }
    if (saver_) return;
    saver_ = std::make_unique<formstate::AutoSaver>([](const QString& message) {
        platform::CurrentUi().ShowErrorBox(platform::ErrorBoxText(kAutoSaveFailed + message));
    });
}

void TmainForm::RequestAutoSave() {
    if (!saver_) return;
    typingSave_->stop();  // this save holds what was typed
    saver_->Save(formstate::SettingsFilePath(), formstate::FormsSnapshot::TakeRegistered());
}

void TmainForm::closeEvent(QCloseEvent* event) {
    try {
        FormClose();
        // Nothing saves after the close's own save: an Enter cycle that a signal's close
        // interrupted (its message box open) must not write its list over it afterwards.
        SetAutoSave(false);
        event->accept();
        // The statistics window goes with the main window.
        if (stats_) stats_->close();
    } catch (const std::exception& e) {
        platform::ShowException(e);
        event->ignore();
    }
}

QString TmainForm::StripTrailingChar(const QString& s, QChar c) {
    return roulette::StripTrailingChar(s, c);
}

void TmainForm::AddZeroLine() {
    AddZeroLine(true);
}

void TmainForm::AddZeroLine(bool letMessagesRun) {
    auto* line = new chart::TLineSeries(&Chart1->Chart());  // owned by the chart
    line->AddXY(0, 0, QString(), chart::clUseSeriesColor);
    line->AddXY(BottomAxis().Maximum(), 0, QString(), chart::clUseSeriesColor);
    Chart1->Chart().AddSeries(line);
    if (letMessagesRun) QCoreApplication::processEvents();
}

void TmainForm::DrawDiagram(bool silent) {
    BuildDiagram(silent, true, nullptr);
}

bool TmainForm::BuildDiagram(bool silent, bool letMessagesRun, QString* listToWrite) {
    Series1->Clear();

    chart::TChartAxis& axis = BottomAxis();
    const int pageSize = DotsPerPage_SE->Value();
    // A window dragged wholly below zero would refuse the minimum 0 below; move its maximum
    // up to the page size first so that every redraw succeeds.
    if (axis.Maximum() < 0) axis.SetMaximum(pageSize >= 0 ? pageSize : 50);
    axis.SetMinimum(0);
    try {
        axis.SetMaximum(pageSize);
    } catch (const std::exception&) {
        platform::MessageBeep();
    }

    const diagram::Result r = diagram::Build(Numbers_Memo->Text(), *Series1, record_);
    UpdateStatistics();
    if (!r.outcome.hadEntries) {
        platform::MessageBeep();
        if (!silent) platform::ShowMessage(kNoList);
        return false;
    }
    if (r.outcome.stop == roulette::Stop::NotANumber)
        platform::ShowMessage(kBadNumber + r.outcome.rejected);
    else if (r.outcome.stop == roulette::Stop::OutOfRange)
        platform::ShowMessage(kOutOfRange);

    AddZeroLine(letMessagesRun);
    if (listToWrite)
        *listToWrite = r.text;
    else
        Numbers_Memo->SetText(r.text);
    if (letMessagesRun) QCoreApplication::processEvents();
    return true;
}

void TmainForm::ScrollMemoToEnd(platform::TMemo* memo) {
    QScrollBar* bar = memo->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void TmainForm::Show_BtnClick() {
    DrawDiagram(false);
    RequestAutoSave();
}

void TmainForm::DotsPerPage_SEChange() {
    DrawDiagram(false);
    RequestAutoSave();
}

void TmainForm::Numbers_MemoKeyDown(int& key, Qt::KeyboardModifiers /*shift*/) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    // The redraw's picture (the view from 0) and its list would be replaced at once by the
    // ones below: nothing runs in between, so the chart is painted once, when the new zero
    // line lets pending messages run, and the box gets the normalised list with the space
    // for the next number in one edit (none when Enter comes again on that list).
    QString list;
    const bool rewritten = BuildDiagram(false, false, &list);
    double x = 1;
    try {
        x = Series1->XValues().Last();
    } catch (const std::exception&) {
        x = 1;  // no points
    }
    BottomAxis().SetMinMax(x - 100, x + 200);
    if (rewritten)
        Numbers_Memo->SetText(list + u' ');
    else
        Numbers_Memo->AppendText(QStringLiteral(" "));
    AddZeroLine();
    ScrollMemoToEnd(Numbers_Memo);
    Numbers_Memo->SetSelStart(Numbers_Memo->TextLength());
    Numbers_Memo->setFocus();
    key = 0;
    RequestAutoSave();
}

void TmainForm::Chart1AfterDraw() {}

void TmainForm::ToggleStatistics() {
    if (stats_ && stats_->isVisible()) {
        stats_->close();
        return;
    }
    if (!stats_) stats_ = new TStatsForm(this, [this] { return Chart1->grab().toImage(); });
    // Closed, it missed the redraws since: it shows the last walk as it opens.
    stats_->ShowStatistics(roulette::FromRecord(record_));
    PlaceStatistics();
    // It opens beside this window without taking the keyboard: the next number can be
    // typed at once. (A platform that activates every window it shows is answered by
    // activating this one again.)
    stats_->show();
    stats_->raise();
    activateWindow();
    Numbers_Memo->setFocus();
}

TStatsForm* TmainForm::StatisticsForm() const {
    return stats_;
}

void TmainForm::PlaceStatistics() {
    // Below, beside or above this window where it fits whole, else where most of it shows
    // without covering the settings group (the number box, the button, the page size),
    // smaller and scrolling. Its frame is taken to be as thick as this window's.
    const QRect screen = this->screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QSize decoration = frame.size() - size();
    const QRect keep(GroupBox1->mapToGlobal(QPoint(0, 0)), GroupBox1->size());
    QSize want = stats_->PreferredSize() + decoration;
    QRect place = statsplacement::Place(screen, frame, keep, want);
    // Cut short in one direction, it scrolls that way: its scroll bar takes room across.
    const int bar = stats_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (place.height() < want.height() || place.width() < want.width()) {
        if (place.height() < want.height()) want.rwidth() += bar;
        if (place.width() < want.width()) want.rheight() += bar;
        place = statsplacement::Place(screen, frame, keep, want);
    }
    stats_->resize(place.size() - decoration);
    stats_->move(place.topLeft());
}

void TmainForm::UpdateStatistics() {
    if (stats_ && stats_->isVisible()) stats_->ShowStatistics(roulette::FromRecord(record_));
}

QString TmainForm::SquareToolTip(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= record_.size() || index >= Series1->Count())
        return QString();
    const int n = record_[static_cast<size_t>(index)];
    const int balance = static_cast<int>(Series1->YValues().Value(index));
    const QString sign = balance > 0 ? QStringLiteral("+") : QString();
    return QStringLiteral("Спин %1: %2 — %3, %4, %5\nБаланс: %6")
        .arg(index + 1)
        .arg(n)
        .arg(roulette::SideName(roulette::Pair::EvenOdd,
                                roulette::SideOf(roulette::Pair::EvenOdd, n)))
        .arg(roulette::SideName(roulette::Pair::RedBlack,
                                roulette::SideOf(roulette::Pair::RedBlack, n)))
        .arg(roulette::SideName(roulette::Pair::LowHigh,
                                roulette::SideOf(roulette::Pair::LowHigh, n)))
        .arg(sign + QString::number(balance));
}
