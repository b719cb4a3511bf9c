// Fuzz target: the integer conversion of the number list, the page-size box and the
// settings store. Properties: it agrees with a plain reference reading of the syntax on any
// text; every 32-bit value written in decimal, and every pattern written in hexadecimal,
// reads back as itself; StrToIntDef is TryStrToInt with a fallback.
#include <QString>
#include <cstdint>
#include <cstring>

#include "platform/core/IntConvert.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::TextFromBytes(data, size);

    const std::optional<int32_t> got = platform::TryStrToInt(text);
    const std::optional<int32_t> want = fuzz::ReferenceStrToInt(text);
    FUZZ_CHECK(got == want, "conversion disagrees with the reference reading");
    FUZZ_CHECK(platform::StrToIntDef(text, 12345) == (got ? *got : 12345),
               "StrToIntDef is not TryStrToInt with a fallback");

    // Any four bytes as a value: its decimal and hexadecimal spellings read back.
    if (size >= 4) {
        int32_t v;
        std::memcpy(&v, data, sizeof v);
        FUZZ_CHECK(platform::TryStrToInt(QString::number(v)) == v, "decimal round trip");
        const QString hex = QString::number(static_cast<uint32_t>(v), 16);
        FUZZ_CHECK(platform::TryStrToInt(u'$' + hex) == v, "$hex round trip");
        FUZZ_CHECK(platform::TryStrToInt(QStringLiteral("0X") + hex.toUpper()) == v,
                   "0X hex round trip");
        FUZZ_CHECK(platform::TryStrToInt(QStringLiteral("  +") + QString::number(v).remove(u'-'))
                           .has_value() == (v != INT32_MIN),
                   "only -2147483648 has no positive spelling");
    }
    return 0;
}
