// The user's number and time formats, read once at start: the decimal and thousands
// separators of axis labels and the long time format of stored times; and whether the
// system's language is Japanese, which the chart's default font depends on.
#pragma once

#include <QString>

namespace platform {

struct FormatSettings {
    QString decimalSeparator = QStringLiteral(".");
    QString thousandSeparator = QStringLiteral(",");
    QString longTimeFormat = QStringLiteral("HH:mm:ss");
    // The system's language is Japanese (the chart's default font changes then).
    bool japanese = false;
};

// The settings in force. Tests may assign other separators.
FormatSettings& Formats();

// Reads the separators, the time format and the language of the system locale into
// Formats().
void LoadFormatSettingsFromSystem();

}  // namespace platform
