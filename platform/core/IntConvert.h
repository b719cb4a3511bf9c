// Text to 32-bit integer conversion shared by the number list, the page-size box and the
// settings store: optional leading spaces, one optional sign, then decimal digits or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Nothing may follow the digits.
#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

namespace platform {

// Returns the value, or nothing when the text is not an integer of that syntax.
// Decimal values must fit a signed 32-bit integer (-2147483648 fits, 2147483648 does not);
// hexadecimal values are 32-bit patterns up to FFFFFFFF, so "$FFFFFFFF" is -1.
std::optional<int32_t> TryStrToInt(QStringView text);

// The value, or `fallback` when the text does not convert.
int32_t StrToIntDef(QStringView text, int32_t fallback);

}  // namespace platform
