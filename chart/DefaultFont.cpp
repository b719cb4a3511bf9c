#include "chart/DefaultFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include "platform/core/Locale.h"

namespace chart {

namespace {

const QString kFace = QStringLiteral("Arial");
constexpr int kPoints = 8;

// Japanese faces, preferred first, that Debian's font packages install.
const char* const kJapaneseFaces[] = {"IPAPGothic", "Noto Sans CJK JP"};

QStringList InstalledFamilies() {
    // Without a GUI application there is no font database to ask.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
    static const QStringList families = QFontDatabase::families();
    return families;
}

}  // namespace

DefaultFontChoice ChooseDefaultFont(bool japanese, const QStringList& families) {
    DefaultFontChoice choice{kFace, kPoints};
    if (!japanese || choice.points != 8) return choice;
    choice.points = 9;
    for (const char* face : kJapaneseFaces) {
        if (families.contains(QLatin1String(face), Qt::CaseInsensitive)) {
            choice.face = QLatin1String(face);
            break;
        }
    }
    return choice;
}

DefaultFontChoice DefaultFont() {
    const bool japanese = platform::Formats().japanese;
    // The installed families matter only on a Japanese system.
    return ChooseDefaultFont(japanese, japanese ? InstalledFamilies() : QStringList());
}

QFont DefaultLabelsFont() {
    const DefaultFontChoice choice = DefaultFont();
    return QFont(choice.face, choice.points);
}

}  // namespace chart
