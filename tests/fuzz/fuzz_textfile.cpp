// Fuzz target: the side-file decoder (byte-order marks, line ends, invalid UTF-8 and UTF-16)
// and its encoder. Properties for any bytes:
// - the byte-order mark alone selects the encoding;
// - bytes that are valid in that encoding (UTF-8 checked by a plain validator written here;
//   UTF-16 code units are taken as they stand, lone surrogates included, so any even
//   number of bytes is valid) are written back byte for byte; invalid bytes decode to
//   U+FFFD and never crash;
// - lines hold no CR or LF, and the lines joined with LF are the text with every line end
//   turned into LF (plus one when the text ends with a line end);
// - a memo's text, once loaded, is stable: saved in its encoding and loaded again it is the
//   same text;
// - reading the bytes from a real file gives what decoding them gives.
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include "platform/core/TextFile.h"
#include "tests/fuzz/FuzzSupport.h"

using platform::TextEncoding;

namespace {

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence.
bool IsValidUtf8(const uint8_t* p, size_t n) {
    size_t i = 0;
    while (i < n) {
        const uint8_t c = p[i];
        size_t len;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        const uint32_t minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

bool EndsWithLineEnd(const QString& s) {
    return !s.isEmpty() && (s.back() == u'\r' || s.back() == u'\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const platform::DecodedText decoded = platform::DecodeText(bytes);

    TextEncoding expected = TextEncoding::Ansi;
    size_t bom = 0;
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
        expected = TextEncoding::Utf8, bom = 3;
    else if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE)
        expected = TextEncoding::Utf16LE, bom = 2;
    else if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF)
        expected = TextEncoding::Utf16BE, bom = 2;
    FUZZ_CHECK(decoded.encoding == expected, "the byte-order mark did not pick the encoding");

    const uint8_t* payload = data + bom;
    const size_t n = size - bom;
    const bool valid = (expected == TextEncoding::Ansi || expected == TextEncoding::Utf8)
                           ? IsValidUtf8(payload, n)
                           : n % 2 == 0;
    if (valid) {
        FUZZ_CHECK(platform::EncodeText(decoded.text, decoded.encoding) == bytes,
                   "valid text was not written back byte for byte");
    } else if (expected == TextEncoding::Ansi || expected == TextEncoding::Utf8) {
        FUZZ_CHECK(decoded.text.contains(QChar(0xFFFD)), "invalid bytes left no U+FFFD");
    } else {
        // An odd last byte of UTF-16 is no character: it is dropped or becomes U+FFFD.
        const QString whole = platform::DecodeText(bytes.chopped(1)).text;
        FUZZ_CHECK(decoded.text == whole || decoded.text == whole + QChar(0xFFFD),
                   "an odd last byte of UTF-16 changed more than itself");
    }
    if (expected == TextEncoding::Ansi || expected == TextEncoding::Utf8)
        FUZZ_CHECK(fuzz::IsValidUtf16(decoded.text), "UTF-8 decoding made a lone surrogate");

    const QStringList lines = platform::SplitLines(decoded.text);
    for (const QString& line : lines)
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'), "a line holds a line end");
    const QString lf = platform::NormalizeLineBreaks(decoded.text, u"\n");
    FUZZ_CHECK(lf == lines.join(u'\n') + (EndsWithLineEnd(decoded.text) ? "\n" : ""),
               "lines and normalised text disagree");
    FUZZ_CHECK(platform::NormalizeLineBreaks(platform::NormalizeLineBreaks(decoded.text, u"\r\n"),
                                             u"\n") == lf,
               "CR LF and LF normalisation disagree");

    // The memo's round trip: loaded text, saved in its encoding, loaded again.
    const QByteArray saved = platform::EncodeText(lf, decoded.encoding);
    const platform::DecodedText again = platform::DecodeText(saved);
    FUZZ_CHECK(again.encoding == decoded.encoding, "a saved memo changed its encoding");
    FUZZ_CHECK(platform::NormalizeLineBreaks(again.text, u"\n") == lf,
               "a saved memo did not load back as it was");

    // The same bytes through a real file, for one input in sixteen.
    if ((size & 15) == 7) {
        static const QString path =
            QStringLiteral("/dev/shm/vexilo-fuzz-text-%1.txt").arg(::getpid());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            f.write(bytes);
            f.close();
            const platform::DecodedText read = platform::ReadTextFile(path);
            FUZZ_CHECK(read.text == decoded.text && read.encoding == decoded.encoding,
                       "a file read differs from decoding its bytes");
            QFile::remove(path);
        }
    }
    return 0;
}
