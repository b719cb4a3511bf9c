// The error box text, the application title, and exceptions that escape event handlers.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "platform/core/AppInfo.h"
#include "platform/core/Exception.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Memo.h"
#include "platform/widgets/Ui.h"
#include "tests/support/RecordingUi.h"

namespace {

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
    struct Case {
        QString in, out;
    } cases[] = {
        {QStringLiteral("Axis Minimum Value must be <= Maximum"),
         QStringLiteral("Axis Minimum Value must be <= Maximum.")},
        {QStringLiteral("Done."), QStringLiteral("Done.")},
        {QStringLiteral("Why?"), QStringLiteral("Why?.")},  // '?' sorts above '.'
        {QStringLiteral("a-"), QStringLiteral("a-")},       // '-' sorts below '.'
        {QStringLiteral("path /"), QStringLiteral("path /.")},
        {QStringLiteral("Ошибка"), QStringLiteral("Ошибка.")},
        {QString(), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::ErrorBoxText(c.in), c.out) << c.in.toStdString();
}

TEST(ApplicationTitle, IsTheFileNameCutAtTheFirstDotWithTheRestLowerCase) {
    EXPECT_EQ(platform::ApplicationTitleFromPath(QStringLiteral("/opt/bin/Vexilo")), "Vexilo");
    EXPECT_EQ(platform::ApplicationTitleFromPath(QStringLiteral("C:\\Apps\\Vexilo.exe")), "Vexilo");
    EXPECT_EQ(platform::ApplicationTitleFromPath(QStringLiteral("/x/VEXILO.tar.gz")), "Vexilo");
    EXPECT_EQ(platform::ApplicationTitleFromPath(QStringLiteral("vexILO")), "vexilo");
    EXPECT_EQ(platform::ApplicationTitleFromPath(QStringLiteral("/x/.hidden")), "");
}

TEST(ExecutableDir, EndsWithASeparatorAndCanBeRedirected) {
    const QString real = platform::ExecutableDir();
    EXPECT_TRUE(real.endsWith(u'/'));
    {
        platform::ScopedExecutableDir scratch(QStringLiteral("/tmp/scratch"));
        EXPECT_EQ(platform::ExecutableDir(), "/tmp/scratch/");
    }
    EXPECT_EQ(platform::ExecutableDir(), real);
}

class Thrower : public QWidget {
public:
    bool std = false;
    int handled = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            ++handled;
            if (std) throw std::runtime_error("plain failure");
            throw platform::Exception(QStringLiteral("Не удалось"));
        }
        return QWidget::event(e);
    }
};

TEST(ApplicationNotify, AnEscapingExceptionGoesToTheErrorBoxAndTheProgramGoesOn) {
    testing_support::RecordingUi ui;
    Thrower w;
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&w, &first);
    w.std = true;
    QCoreApplication::postEvent(&w, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(w.handled, 2);
    EXPECT_EQ(ui.Errors(),
              QStringList({QStringLiteral("Не удалось."), QStringLiteral("plain failure.")}));
    EXPECT_TRUE(ui.Messages().isEmpty());
}

}  // namespace

namespace {

// Qt's own texts in Russian: the number box's standard context menu reads Russian once Qt's
// translation is installed, as the program installs it at start; a folder without the
// translation leaves Qt's English, with nothing said.
TEST(QtTranslation, TheNumberBoxsMenuReadsRussianAndAMissingFileChangesNothing) {
    // The test program's application installed it at start, as the program's does.
    auto actionTexts = [] {
        platform::TMemo memo;
        memo.setPlainText(QStringLiteral("5 12"));
        std::unique_ptr<QMenu> menu(memo.createStandardContextMenu());
        QStringList texts;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) texts << a->text().remove(u'&').section(u'\t', 0, 0);
        return texts;
    };
    const QStringList russian = actionTexts();
    ASSERT_GE(russian.size(), 6);
    for (const QString& text : russian) {
        const bool cyrillic = std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF;
        });
        EXPECT_TRUE(cyrillic) << text.toStdString();
    }
    EXPECT_TRUE(russian.contains(QStringLiteral("Копировать"))) << russian.join(", ").toStdString();

    // Without the translations (removed here; an empty folder cannot give them back): the
    // menu is Qt's English, and loading from a folder without the file says nothing.
    const auto translators = QCoreApplication::instance()->findChildren<QTranslator*>();
    for (QTranslator* t : translators)
        QCoreApplication::removeTranslator(t);
    testing_support::RecordingUi ui;
    QTemporaryDir empty;
    EXPECT_FALSE(platform::InstallQtTranslation(empty.path()));
    EXPECT_TRUE(ui.events.isEmpty());
    EXPECT_TRUE(actionTexts().contains(QStringLiteral("Copy"))) << "Qt's English";
    // Back as the program has it.
    EXPECT_TRUE(platform::InstallQtTranslation(platform::QtTranslationsFolder()));
    EXPECT_EQ(actionTexts(), russian);
}

TEST(SaveDialog, StartsInTheLastFolderElsePicturesElseHome) {
    QTemporaryDir last;
    EXPECT_EQ(platform::SaveDialogStartFolder(last.path()), last.path());
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString fallback = QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
    EXPECT_EQ(platform::SaveDialogStartFolder(QString()), fallback);
    EXPECT_EQ(platform::SaveDialogStartFolder(last.path() + "/gone"), fallback);
}

}  // namespace
