// The user's number and time formats, read once at start: the decimal and thousands
// separators of axis labels and the long time format of stored times.
#pragma once

#include <QString>

namespace platform {

struct FormatSettings {
    QString decimalSeparator = QStringLiteral(".");
    QString thousandSeparator = QStringLiteral(",");
    QString longTimeFormat = QStringLiteral("HH:mm:ss");
};

// The settings in force. Tests may assign other separators.
FormatSettings& Formats();

// Reads the separators and the time format of the system locale into Formats().
void LoadFormatSettingsFromSystem();

}  // namespace platform
