#include "platform/widgets/Application.h"

#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/core/Locale.h"
#include "platform/widgets/Ui.h"

namespace platform {

namespace {

// The window's design font is Tahoma, which Linux desktops rarely have. Fontconfig would
// fall back to DejaVu Sans, about 15 % wider, which runs the page-size label into its box;
// the condensed DejaVu face matches Tahoma's height and width closely.
void InstallFontSubstitutes() {
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")) &&
        QFontDatabase::families().contains(QStringLiteral("DejaVu Sans Condensed")))
        QFont::insertSubstitution(QStringLiteral("Tahoma"),
                                  QStringLiteral("DejaVu Sans Condensed"));
}

// The command line Qt keeps for the application's lifetime: the program's name alone.
struct ProgramNameArgs {
    int argc = 1;
    QByteArray name;
    char* argv[2] = {nullptr, nullptr};
};

ProgramNameArgs& Args() {
    static ProgramNameArgs args;
    return args;
}

int& ProgramNameOnly(const char* programName) {
    ProgramNameArgs& args = Args();
    args.name = programName ? QByteArray(programName) : QByteArrayLiteral("Vexilo");
    args.argc = 1;
    args.argv[0] = args.name.data();
    args.argv[1] = nullptr;
    return args.argc;
}

// Read after ProgramNameOnly has filled it: both are evaluated before QApplication starts.
char** ProgramNameOnlyArgv() {
    return Args().argv;
}

}  // namespace

Application::Application(const char* programName)
    : QApplication(ProgramNameOnly(programName), ProgramNameOnlyArgv()) {
    LoadFormatSettingsFromSystem();
    InstallFontSubstitutes();
    // The whole interface is Russian, whatever the locale; the locale still decides the
    // separators of numbers.
    InstallQtTranslation(QtTranslationsFolder());
}

QString QtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool InstallQtTranslation(const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());  // owned by the app
    if (translator->load(QStringLiteral("qtbase_ru"), folder) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        CurrentUi().ShowErrorBox(ErrorBoxText(QStringLiteral("Unknown exception")));
    }
    return false;
}

}  // namespace platform
