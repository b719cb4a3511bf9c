// Test entry: a Qt application on the offscreen platform (unless a display is asked for),
// the program's own exception handling, and fixed number formats so results do not depend
// on the machine's locale.
#include <gtest/gtest.h>

#include "platform/core/Locale.h"
#include "platform/widgets/Application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    platform::Application app(argv[0]);
    platform::Formats() = platform::FormatSettings{};
    return RUN_ALL_TESTS();
}
