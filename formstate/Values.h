// How times and floating-point numbers are written to the settings file and read back: the
// user's long time format and decimal separator, and the error for a time that does not
// read.
#pragma once

#include <QString>
#include <QTime>
#include <optional>

#include "platform/core/Exception.h"

namespace formstate {

// "'<text>' is not a valid time", "'<text>' is not a valid floating point value", ...
class ConvertError : public platform::Exception {
public:
    using Exception::Exception;
};

// General format: at most 15 significant digits, fixed notation for exponents from -5 to 14
// and scientific notation otherwise ("1E20", "-1.5E-7"), the user's decimal separator, no
// thousands separators; "NAN", "INF" and "-INF" for the special values.
QString FormatFloat(double value);
// Blanks around the text are allowed; a sign, digits with at most one decimal separator
// (the user's), an optional exponent. Also "NAN", "INF", "-INF" in any case. Nothing else.
std::optional<double> ParseFloat(const QString& text);

// The time of day in the user's long time format (time zone designators left out).
QString FormatTime(const QTime& time);
// Reads a time in the user's long time format, or as hours and minutes with optional
// seconds ("9:05", "21:05:30"). Throws ConvertError "'<text>' is not a valid time".
QTime ParseTime(const QString& text);

}  // namespace formstate
