#include "platform/core/Locale.h"

#include <QLocale>

namespace platform {

FormatSettings& Formats() {
    static FormatSettings settings;
    return settings;
}

void LoadFormatSettingsFromSystem() {
    const QLocale locale = QLocale::system();
    FormatSettings& s = Formats();
    s.decimalSeparator = locale.decimalPoint();
    s.thousandSeparator = locale.groupSeparator();
    s.longTimeFormat = locale.timeFormat(QLocale::LongFormat);
    s.japanese = locale.language() == QLocale::Japanese;
}

}  // namespace platform
