#include "platform/core/IntConvert.h"

namespace platform {

namespace {

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int32_t> TryStrToInt(QStringView text) {
    const qsizetype n = text.size();
    // Most texts are a few plain decimal digits: read those directly.
    if (n > 0 && n <= 9) {
        const char16_t* d = text.utf16();
        uint32_t value = 0;
        qsizetype k = 0;
        for (; k < n; ++k) {
            const uint32_t digit = static_cast<uint32_t>(d[k]) - u'0';
            if (digit > 9) break;
            value = value * 10 + digit;
        }
        if (k == n) return static_cast<int32_t>(value);
    }

    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;

    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    bool hex = false;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n) return std::nullopt;  // empty, a lone sign or a prefix without digits

    if (hex) {
        uint64_t value = 0;
        for (; i < n; ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0) return std::nullopt;
            value = value * 16 + static_cast<uint64_t>(d);
            if (value > 0xFFFFFFFFull) return std::nullopt;  // leading zeros never get here
        }
        uint32_t pattern = static_cast<uint32_t>(value);
        if (negative) pattern = 0u - pattern;  // the sign negates the 32-bit pattern
        return static_cast<int32_t>(pattern);
    }

    // Decimal: the magnitude may reach 2^31 only with a minus sign.
    const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    uint64_t value = 0;
    for (; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < '0' || u > '9') return std::nullopt;
        value = value * 10 + (u - '0');
        if (value > limit) return std::nullopt;
    }
    if (negative) return static_cast<int32_t>(0u - static_cast<uint32_t>(value));
    return static_cast<int32_t>(value);
}

int32_t StrToIntDef(QStringView text, int32_t fallback) {
    const auto v = TryStrToInt(text);
    return v ? *v : fallback;
}

}  // namespace platform
