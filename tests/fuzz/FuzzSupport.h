// Helpers shared by the fuzz targets: turning bytes into text, a property check that stops
// the fuzzer with a readable message, and simple reference implementations that the code
// under test is compared with.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace fuzz {

// Stops the run (libFuzzer keeps the input as a crash artifact) when a property fails.
#define FUZZ_CHECK(cond, what)                                                                 \
    do {                                                                                       \
        if (!(cond)) {                                                                         \
            std::fprintf(stderr, "property broken at %s:%d: %s\n  (%s)\n", __FILE__, __LINE__, \
                         what, #cond);                                                         \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// Text from fuzzer bytes. An even first byte reads the rest as Latin-1, one character per
// byte, so that short inputs reach digits, signs and spaces quickly; an odd first byte
// reads it as UTF-16 LE, so that any code unit (surrogates included) can appear.
inline QString TextFromBytes(const uint8_t* data, size_t size) {
    if (size == 0) return QString();
    const bool wide = data[0] & 1;
    ++data;
    --size;
    if (!wide)
        return QString::fromLatin1(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
    QString out;
    out.reserve(static_cast<qsizetype>(size / 2));
    for (size_t i = 0; i + 1 < size; i += 2)
        out.append(QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8))));
    return out;
}

// True when the text holds no lone surrogate: it survives any Unicode encoding unchanged.
inline bool IsValidUtf16(QStringView s) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = s[i].unicode();
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= s.size()) return false;
            const char16_t v = s[i + 1].unicode();
            if (v < 0xDC00 || v > 0xDFFF) return false;
            ++i;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

// A plain reading of the integer syntax, written independently of the program's parser:
// leading spaces, one optional sign, then decimal digits, or hexadecimal digits after "$",
// "x", "X", "0x" or "0X"; nothing after the digits. Decimal values must fit a signed 32-bit
// integer; hexadecimal values are 32-bit patterns (at most FFFFFFFF after leading zeros)
// that the sign negates.
inline std::optional<int32_t> ReferenceStrToInt(QStringView text) {
    std::u16string s(reinterpret_cast<const char16_t*>(text.utf16()),
                     static_cast<size_t>(text.size()));
    size_t i = s.find_first_not_of(u' ');
    if (i == std::u16string::npos) return std::nullopt;
    bool negative = false;
    if (s[i] == u'+' || s[i] == u'-') {
        negative = s[i] == u'-';
        ++i;
    }
    std::u16string digits = s.substr(i);
    int base = 10;
    if (!digits.empty() && (digits[0] == u'$' || digits[0] == u'x' || digits[0] == u'X')) {
        base = 16;
        digits.erase(0, 1);
    } else if (digits.size() >= 2 && digits[0] == u'0' &&
               (digits[1] == u'x' || digits[1] == u'X')) {
        base = 16;
        digits.erase(0, 2);
    }
    if (digits.empty()) return std::nullopt;
    const std::u16string valid = base == 16 ? u"0123456789abcdefABCDEF" : u"0123456789";
    if (digits.find_first_not_of(valid) != std::u16string::npos) return std::nullopt;
    const size_t firstSignificant = digits.find_first_not_of(u'0');
    if (firstSignificant == std::u16string::npos) return 0;
    digits.erase(0, firstSignificant);
    if (digits.size() > (base == 16 ? 8u : 10u)) return std::nullopt;
    uint64_t value = 0;
    for (char16_t c : digits) {
        int d = c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    }
    if (base == 16) {
        uint32_t pattern = static_cast<uint32_t>(value);
        if (negative) pattern = ~pattern + 1u;
        return static_cast<int32_t>(pattern);
    }
    if (value > (negative ? 2147483648ull : 2147483647ull)) return std::nullopt;
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(value))
                    : static_cast<int32_t>(value);
}

}  // namespace fuzz
