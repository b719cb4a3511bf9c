// The main window: the chart above, the settings group below with the number box, the
// button and the page-size box; the hidden log controls; the event handlers, among them the
// Enter cycle of the number box; and DrawDiagram, which turns the number list into the walk.
// F2 opens the statistics window over it, which every redraw updates; the squares of the
// chart tell their spin in a tooltip.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "roulette/Walk.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTextEdit;
class QTimer;
class TStatsForm;

namespace chart {
class TChartWidget;
class TPointSeries;
class TChartAxis;
}  // namespace chart

namespace formstate {
class AutoSaver;
}  // namespace formstate

namespace platform {
class TMemo;
class TSpinEdit;
}  // namespace platform

class TmainForm : public QWidget {
    Q_OBJECT
public:
    // One component of the window, in creation order; the settings store walks this list.
    struct Component {
        QString name;
        QObject* object;
    };

    // Creates every component with its design values; FormCreate runs separately.
    explicit TmainForm(QWidget* parent = nullptr);
    ~TmainForm() override;

    // Start-up: caption, restore, first zero line, the silent first draw.
    void FormCreate();
    // Saves the state, after the automatic save being written, if any, is done; throws
    // when saving fails (the window then stays open).
    void FormClose();

    // Automatic saving, off until switched on (the program does so once start-up is done):
    // after each Enter cycle, button click and page-size change, and once typing in the
    // number box has paused for kTypingSaveDelayMs, the window hands a copy of its state to
    // a saver that writes what FormClose writes on a thread of its own. A failed automatic
    // save shows one error box, until a save succeeds again. Off waits for the save being
    // written.
    void SetAutoSave(bool on);
    // The saver while automatic saving is on, else null.
    formstate::AutoSaver* AutoSaver() const { return saver_.get(); }
    static constexpr int kTypingSaveDelayMs = 2000;

    // Rebuilds the walk from the number list; `silent` withholds only the empty-list message.
    // Lets pending messages run, so the chart shows the new walk when it returns.
    void DrawDiagram(bool silent);
    // Adds one more zero line from X = 0 to the bottom axis' maximum, then lets pending
    // messages run.
    void AddZeroLine();
    // Scrolls the box so that its last line is in view, without moving the caret.
    void ScrollMemoToEnd(platform::TMemo* memo);
    static QString StripTrailingChar(const QString& s, QChar c);

    // Handlers.
    void Show_BtnClick();
    void DotsPerPage_SEChange();
    void Numbers_MemoKeyDown(int& key, Qt::KeyboardModifiers shift);
    void Chart1AfterDraw();

    // F2: opens the statistics window, or closes it when it is open.
    void ToggleStatistics();
    // The statistics window while it exists (it is made the first time F2 opens it).
    TStatsForm* StatisticsForm() const;
    // The tooltip of square `index` of Series1: its spin, number, sides and the balance
    // after it, from the record of the last redraw; empty when there is no such spin.
    QString SquareToolTip(int index) const;

    const std::vector<Component>& Components() const { return components_; }
    chart::TChartAxis& BottomAxis();

    // Design size of the client area at 96 dpi.
    static constexpr int kDesignWidth = 1021;
    static constexpr int kDesignHeight = 536;

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Show_Btn = nullptr;
    platform::TMemo* Numbers_Memo = nullptr;
    platform::TSpinEdit* DotsPerPage_SE = nullptr;
    QGroupBox* LogGroupBox = nullptr;
    QTextEdit* Log = nullptr;
    QCheckBox* Debug_CheckBox = nullptr;
    QPushButton* ClearLogBitBtn = nullptr;
    QPushButton* SaveLogBitBtn = nullptr;
    QListWidget* UserAgentListBox = nullptr;
    chart::TChartWidget* Chart1 = nullptr;
    chart::TPointSeries* Series1 = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // DrawDiagram; with `letMessagesRun` false the repaint waits for the caller's next
    // message processing (the Enter cycle, which moves the view at once and paints then),
    // and with `listToWrite` the normalised list goes there instead of into the box.
    // False when the list had no entries (nothing to write back).
    bool BuildDiagram(bool silent, bool letMessagesRun, QString* listToWrite);
    void AddZeroLine(bool letMessagesRun);
    // Shows the statistics of the last walk in the statistics window, when it is open;
    // nothing is computed while it is closed.
    void UpdateStatistics();
    void PlaceStatistics();
    // Hands the state to the saver when automatic saving is on.
    void RequestAutoSave();
    void CreateComponents();
    void ApplyChartDesign();
    void LayoutControls();
    template <typename T>
    T* Add(T* object, const char* name);

    std::vector<Component> components_;
    // The numbers behind the squares of the last redraw, a byte each.
    roulette::SpinRecord record_;
    QPointer<TStatsForm> stats_;    // a Qt child of this window
    QTimer* typingSave_ = nullptr;  // a Qt child; not a component: the store never sees it
    std::unique_ptr<formstate::AutoSaver> saver_;
};

// The program's one main window, filled in before its start-up runs.
extern TmainForm* mainForm;
