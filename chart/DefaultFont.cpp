#include "chart/DefaultFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include "platform/Locale.h"

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

DefaultFontSpec ChooseDefaultFont(bool japanese, const QStringList& families) {
    DefaultFontSpec spec{kFace, kPoints};
    if (!japanese || spec.points != 8) return spec;
    spec.points = 9;
    for (const char* face : kJapaneseFaces) {
        if (families.contains(QLatin1String(face), Qt::CaseInsensitive)) {
            spec.face = QLatin1String(face);
            break;
        }
    }
    return spec;
}

DefaultFontSpec DefaultFont() {
    return ChooseDefaultFont(platform::Formats().japanese, InstalledFamilies());
}

QFont DefaultLabelsFont() {
    const DefaultFontSpec spec = DefaultFont();
    return QFont(spec.face, spec.points);
}

}  // namespace chart
