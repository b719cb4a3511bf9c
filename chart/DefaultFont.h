// The default font of the chart's elements: Arial, 8 points. On a system whose language is
// Japanese an 8-point default becomes 9 points, and the face a Japanese one that Debian
// installs (IPA P Gothic from fonts-ipafont-gothic, else Noto Sans CJK JP from
// fonts-noto-cjk); with neither installed the face stays Arial, which the font system
// stands in for as usual.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace chart {

struct DefaultFontChoice {
    QString face;
    int points = 8;
};

// The rule: `japanese` is the system's language, `families` the installed font families.
DefaultFontChoice ChooseDefaultFont(bool japanese, const QStringList& families);

// The rule for this system (platform::Formats().japanese and the installed fonts); the
// installed families are looked up once.
DefaultFontChoice DefaultFont();

// The axis labels' font: the default face and size, regular.
QFont DefaultLabelsFont();

}  // namespace chart
