// A main window in a scratch directory with recorded message boxes and beeps, plus helpers
// that read the walk back out of the chart.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "chart/ChartWidget.h"
#include "chart/Series.h"
#include "platform/core/AppInfo.h"
#include "platform/widgets/Memo.h"
#include "platform/widgets/SpinEdit.h"
#include "tests/support/RecordingUi.h"
#include "window/MainForm.h"

namespace testing_support {

struct WalkPoint {
    double x, y;
    uint32_t color;
    bool operator==(const WalkPoint& o) const { return x == o.x && y == o.y && color == o.color; }
};

inline void PrintTo(const WalkPoint& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ", " << std::hex << p.color << std::dec << ")";
}

constexpr uint32_t G = 0x008000;  // even: green
constexpr uint32_t B = 0xFF0000;  // odd: blue

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        exeDir = std::make_unique<platform::ScopedExecutableDir>(dir.path());
        form = std::make_unique<TmainForm>();
        mainForm = form.get();
    }
    void TearDown() override {
        form.reset();
        exeDir.reset();
    }

    // Runs the start-up handler and shows the window active, as the program starts it.
    void StartAndShow() {
        form->FormCreate();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    std::vector<WalkPoint> Points() const {
        std::vector<WalkPoint> out;
        const chart::TPointSeries* s = form->Series1;
        for (int i = 0; i < s->Count(); ++i)
            out.push_back({s->XValues().Value(i), s->YValues().Value(i), s->ValueColor(i)});
        return out;
    }
    chart::TChart& Chart() { return form->Chart1->Chart(); }
    chart::TChartAxis& Bottom() { return Chart().BottomAxis(); }
    int ZeroLines() { return Chart().SeriesCount() - 1; }
    QString Memo() const { return form->Numbers_Memo->Text(); }
    void SetMemo(const QString& text) { form->Numbers_Memo->setPlainText(text); }

    QTemporaryDir dir;
    std::unique_ptr<platform::ScopedExecutableDir> exeDir;
    RecordingUi ui;
    std::unique_ptr<TmainForm> form;
};

}  // namespace testing_support
