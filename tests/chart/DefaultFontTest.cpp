// The chart's default font: Arial 8 points, and on a Japanese system 9 points in a Japanese
// face that Debian installs, falling back quietly when none is installed.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QProcess>

#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/ChartStyle.h"
#include "chart/DefaultFont.h"
#include "platform/core/Locale.h"

namespace {

TEST(ChartDefaultFont, JapaneseSystemsGetNinePointsAndAJapaneseFaceWhereOneIsInstalled) {
    struct Case {
        const char* name;
        bool japanese;
        QStringList families;
        QString face;
        int points;
    };
    const QStringList both = {"DejaVu Sans", "Noto Sans CJK JP", "IPAPGothic"};
    const Case cases[] = {
        {"other language", false, both, "Arial", 8},
        {"Japanese, IPA P Gothic preferred", true, both, "IPAPGothic", 9},
        {"Japanese, Noto CJK only",
         true,
         {"Noto Sans CJK JP", "Liberation Sans"},
         "Noto Sans CJK JP",
         9},
        {"Japanese, no Japanese face: quietly Arial", true, {"DejaVu Sans"}, "Arial", 9},
        {"Japanese, nothing known", true, {}, "Arial", 9},
    };
    for (const Case& c : cases) {
        const chart::DefaultFontChoice choice = chart::ChooseDefaultFont(c.japanese, c.families);
        EXPECT_EQ(choice.face, c.face) << c.name;
        EXPECT_EQ(choice.points, c.points) << c.name;
    }
}

// The axis labels and the title take the default; the title keeps the form's height.
TEST(ChartDefaultFont, AxesAndTitleMadeOnAJapaneseSystemUseIt) {
    const platform::FormatSettings before = platform::Formats();
    platform::Formats().japanese = true;
    const chart::DefaultFontChoice choice = chart::DefaultFont();
    chart::TChart made;
    const chart::TChartAxis& axis = made.LeftAxis();
    const QFont title = chart::TChartStyle::DefaultTitleFont();
    platform::Formats() = before;
    EXPECT_EQ(axis.LabelsFont.family(), choice.face);
    EXPECT_EQ(axis.LabelsFont.pointSize(), 9);
    EXPECT_EQ(title.family(), choice.face);
    EXPECT_EQ(title.pixelSize(), 24);
    // With the face installed (./vexilo installs fonts-ipafont-gothic) it is the one drawn.
    if (QFontDatabase::families().contains("IPAPGothic")) {
        EXPECT_EQ(choice.face, "IPAPGothic");
        EXPECT_EQ(QFontInfo(axis.LabelsFont).family(), "IPAPGothic");
    }
    chart::TChart other;
    EXPECT_EQ(other.BottomAxis().LabelsFont.family(), "Arial");
    EXPECT_EQ(other.BottomAxis().LabelsFont.pointSize(), 8);
}

// The language is the system's: this binary run again with the locale forced to Japanese
// (and to another language) reads it at start as the program does.
TEST(ChartDefaultFont, TheSystemLocaleDecides) {
    const QByteArray expected = qgetenv("VEXILO_EXPECT_JAPANESE");
    if (!expected.isEmpty()) {  // the run with the forced locale
        platform::LoadFormatSettingsFromSystem();
        EXPECT_EQ(platform::Formats().japanese, expected == "1");
        EXPECT_EQ(chart::TChart().BottomAxis().LabelsFont.pointSize(), expected == "1" ? 9 : 8);
        return;
    }
    for (const auto& [locale, japanese] :
         {std::pair{"ja_JP.UTF-8", "1"}, std::pair{"ru_RU.UTF-8", "0"}}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", locale);
        env.insert("LANG", locale);
        env.insert("VEXILO_EXPECT_JAPANESE", japanese);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=ChartDefaultFont.TheSystemLocaleDecides"});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QByteArray output = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << locale << "\n" << output.constData();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.constData();
    }
}

}  // namespace
