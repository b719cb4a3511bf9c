// The error box text, the application title, and exceptions that escape event handlers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <stdexcept>

#include "platform/core/AppInfo.h"
#include "platform/core/Exception.h"
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
