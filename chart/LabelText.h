// Axis label texts: a value written in the "#,##0.###" format with the user's decimal and
// thousands separators.
#pragma once

#include <QString>

namespace chart {

// `value` as "#,##0.###": the integer part grouped by three with `thousandSeparator` (no
// grouping when it is empty), then at most three decimals without trailing zeros after
// `decimalSeparator`, a leading '-' for negative values. The value is first taken to 15
// significant digits, so that binary noise such as 0.1 + 0.2 does not show, then rounded
// to three decimals with halves away from zero. A value that rounds to zero reads "0",
// never "-0". Infinities and NaN read "INF", "-INF" and "NAN".
QString FormatAxisValue(double value, const QString& decimalSeparator,
                        const QString& thousandSeparator);

// FormatAxisValue with the separators the program read from the locale at start.
QString FormatAxisValue(double value);

}  // namespace chart
