// Fuzz target: the settings file's reader and writer. An arbitrary file (any bytes: byte-order
// marks, NUL bytes, invalid UTF-8, stray headers, duplicate sections and keys, lines without
// "=") is loaded as the accessor loads it, then changed by a sequence of writes and erases
// as the save walk makes them, each time through the file's bytes as the accessor writes
// them. Properties after every step:
// - the lines survive the trip to bytes and back unchanged (when they hold no lone
//   surrogate, which no encoding can carry), in the encoding the file was found in;
// - a key written under a well-formed section and key name (what the save walk writes:
//   no "]" in the section, no "=" in the key, no line breaks, no blanks around either, no
//   key that reads as a header or a comment) reads back as the value written, its line
//   breaks turned into spaces; read through CleanValue it is the value itself when that
//   has no blanks or quotes around it and fits 2047 characters;
// - a write or an erase changes no other well-formed key, and after an erase the section's
//   keys read as missing;
// - no read returns more than 2047 characters.
// Every few inputs the same happens through TIniFile on a real file in /dev/shm, where a
// file whose bytes do not decode must also be kept as a backup before it is rewritten.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <map>
#include <vector>

#include "formstate/IniDocument.h"
#include "formstate/IniFile.h"
#include "platform/core/TextFile.h"
#include "tests/fuzz/FuzzSupport.h"

using formstate::IniDocument;

namespace {

QString Text(FuzzedDataProvider& in, size_t maxBytes) {
    const std::string bytes = in.ConsumeRandomLengthString(maxBytes);
    return fuzz::TextFromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// A name the save walk could write: letters from a small alphabet (mixed case, so that the
// case-insensitive matching is exercised) and the punctuation of control names and suffixes.
QString Name(FuzzedDataProvider& in) {
    static const char16_t kAlphabet[] = u"aAbB_.1 ";
    QString out;
    const size_t n = in.ConsumeIntegralInRange<size_t>(1, 6);
    for (size_t i = 0; i < n; ++i)
        out += QChar(kAlphabet[in.ConsumeIntegralInRange<size_t>(0, 7)]);
    return out.trimmed().isEmpty() ? QStringLiteral("k") : out.trimmed();
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString SingleLine(QString v) {
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    return v;
}

bool IsClean(const QString& v) {
    if (v.size() > formstate::kMaxProfileValue) return false;
    if (!v.isEmpty() &&
        (v.front() == u' ' || v.front() == u'\t' || v.back() == u' ' || v.back() == u'\t'))
        return false;
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return false;
    return true;
}

bool AllValid(const IniDocument& doc) {
    for (const QString& line : doc.Lines())
        if (!fuzz::IsValidUtf16(line)) return false;
    return true;
}

using Key = std::pair<QString, QString>;

// The raw values of every key the run has written so far.
std::map<Key, std::optional<QString>> Snapshot(const IniDocument& doc,
                                               const std::vector<Key>& keys) {
    std::map<Key, std::optional<QString>> out;
    for (const Key& k : keys)
        out[k] = doc.RawValue(k.first, k.second);
    return out;
}

// Serialises the document as the accessor writes it and loads it back as the accessor reads.
IniDocument ThroughBytes(const IniDocument& doc, platform::TextEncoding encoding) {
    const QByteArray bytes = platform::EncodeText(doc.Serialize(u"\n"), encoding);
    const platform::DecodedText decoded = platform::DecodeText(bytes);
    if (AllValid(doc)) FUZZ_CHECK(decoded.encoding == encoding, "the file changed its encoding");
    IniDocument back = IniDocument::Parse(decoded.text);
    if (AllValid(doc)) FUZZ_CHECK(back.Lines() == doc.Lines(), "lines changed on the way to disk");
    return back;
}

void ThroughAccessor(const QByteArray& file, const Key& key, const QString& value) {
    static const QString path = QStringLiteral("/dev/shm/vexilo-fuzz-ini-%1.dat").arg(::getpid());
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;  // no /dev/shm here
        f.write(file);
    }
    const QString backup = path + QStringLiteral(".bak");
    QFile::remove(backup);
    formstate::TIniFile ini(path);
    ini.WriteString(key.first, key.second, value);
    // Bytes that do not decode are kept in a backup before the file is first rewritten.
    const platform::DecodedText decoded = platform::DecodeText(file);
    if (platform::EncodeText(decoded.text, decoded.encoding) != file) {
        QFile written(path);
        const bool rewritten = written.open(QIODevice::ReadOnly) && written.readAll() != file;
        QFile kept(backup);
        if (rewritten)
            FUZZ_CHECK(kept.open(QIODevice::ReadOnly) && kept.readAll() == file,
                       "TIniFile: undecodable bytes were rewritten without a backup");
    }
    const QString read = ini.ReadString(key.first, key.second, QStringLiteral("<missing>"));
    if (fuzz::IsValidUtf16(value) && IsClean(SingleLine(value)))
        FUZZ_CHECK(read == SingleLine(value), "TIniFile: a written key did not read back");
    ini.EraseSection(key.first);
    FUZZ_CHECK(ini.ReadString(key.first, key.second, QStringLiteral("<missing>")) == "<missing>",
               "TIniFile: an erased section still has its key");
    QFile::remove(path);
    QFile::remove(backup);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string raw = in.ConsumeRandomLengthString(4096);
    const QByteArray file(raw.data(), static_cast<qsizetype>(raw.size()));
    const platform::DecodedText decoded = platform::DecodeText(file);
    IniDocument doc = IniDocument::Parse(decoded.text);

    std::vector<Key> written;
    const int steps = in.ConsumeIntegralInRange<int>(1, 8);
    for (int step = 0; step < steps && in.remaining_bytes() > 0; ++step) {
        const Key key{Name(in), Name(in)};
        const bool erase = in.ConsumeIntegralInRange<int>(0, 4) == 0;
        const QString value = Text(in, 300);
        if (in.ConsumeBool()) written.push_back(key);
        const auto before = Snapshot(doc, written);

        if (erase) {
            doc.EraseSection(key.first);
        } else {
            doc.SetValue(key.first, key.second, value);
        }
        doc = ThroughBytes(doc, decoded.encoding);

        for (const auto& [k, now] : Snapshot(doc, written)) {
            const bool sameSection = SameName(k.first, key.first);
            if (erase && sameSection) {
                FUZZ_CHECK(!now.has_value(), "a key of an erased section still reads");
            } else if (erase || !sameSection || !SameName(k.second, key.second)) {
                FUZZ_CHECK(now == before.at(k), "another key changed");
            }
        }
        if (!erase) {
            const std::optional<QString> got = doc.RawValue(key.first, key.second);
            FUZZ_CHECK(got.has_value(), "a written key is missing");
            if (fuzz::IsValidUtf16(value)) {
                FUZZ_CHECK(*got == SingleLine(value), "a written key reads back changed");
                const QString clean = formstate::CleanValue(*got);
                FUZZ_CHECK(clean.size() <= formstate::kMaxProfileValue, "a read is too long");
                if (IsClean(SingleLine(value)))
                    FUZZ_CHECK(clean == SingleLine(value), "a clean value did not read back");
            }
        }
    }

    // The accessor on a real file, for one input in sixteen (file work is slow).
    if ((size & 15) == 0 && in.remaining_bytes() > 0) {
        const Key key{Name(in), Name(in)};
        ThroughAccessor(file, key, Text(in, 100));
    }
    return 0;
}
