#include "formstate/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <functional>

#include "formstate/IniDocument.h"
#include "formstate/SideFileGuard.h"
#include "formstate/Values.h"
#include "platform/core/IntConvert.h"
#include "platform/core/TextFile.h"

namespace formstate {

namespace {

// Every line of a file this accessor writes ends with a bare LF; files with CR LF or CR
// line ends are read as well.
const QString kLineBreak = QStringLiteral("\n");

struct LoadedFile {
    IniDocument doc;
    platform::TextEncoding encoding = platform::TextEncoding::Ansi;
    QString text;
};

// The file as it stands; an empty document when it does not exist. Throws FileOpenError
// when it exists but cannot be read.
LoadedFile Load(const QString& path) {
    LoadedFile file;
    if (!QFileInfo::exists(path)) return file;
    platform::DecodedText decoded = platform::ReadTextFile(path);
    file.doc = IniDocument::Parse(decoded.text);
    file.encoding = decoded.encoding;
    file.text = std::move(decoded.text);
    return file;
}

// A file whose bytes do not come back from its text (invalid UTF-8, an odd byte of
// UTF-16: what was not written by this program) would lose them when rewritten from the
// text, so a copy of it is kept as "<path>.bak" (or the next free backup name) first. Files
// this accessor wrote always come back, so this happens once at most.
void KeepUndecodableFile(const QString& path, const LoadedFile& file) {
    QFile raw(path);
    if (!raw.exists() || !raw.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = raw.readAll();
    raw.close();
    if (platform::EncodeText(file.text, file.encoding) == bytes) return;
    if (!QFile::copy(path, FreeBackupName(path))) throw IniWriteError(path);
}

// Read, change, replace: the file keeps the encoding it was found in (a new file is UTF-8
// without a byte-order mark). A text that did not change is not written again, so erasing a
// missing section creates no file.
void Modify(const QString& path, const std::function<void(IniDocument&)>& change) {
    LoadedFile file;
    try {
        file = Load(path);
    } catch (const platform::FileOpenError&) {
        throw IniWriteError(path);
    }
    change(file.doc);
    const QString text = file.doc.Serialize(kLineBreak);
    if (text == file.text) return;
    KeepUndecodableFile(path, file);
    QString reason;
    if (!platform::ReplaceFileAtomically(path, platform::EncodeText(text, file.encoding), &reason))
        throw IniWriteError(path, reason);
}

}  // namespace

IniWriteError::IniWriteError(const QString& path, QString reason)
    : Exception(QStringLiteral("Unable to write to %1").arg(path)), reason_(std::move(reason)) {}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    std::optional<QString> raw;
    try {
        raw = Load(fileName_).doc.RawValue(section, key);
    } catch (const platform::FileOpenError&) {
        // An unreadable file reads like a missing one.
    }
    return raw ? CleanValue(*raw) : LimitProfileText(def);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    Modify(fileName_, [&](IniDocument& doc) { doc.SetValue(section, key, value); });
}

int32_t TIniFile::ReadInteger(const QString& section, const QString& key, int32_t def) const {
    return platform::StrToIntDef(ReadString(section, key, QString()), def);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int32_t value) {
    WriteString(section, key, QString::number(value));
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const {
    const QString text = ReadString(section, key, QString());
    if (text.isEmpty()) return def;
    return ParseFloat(text).value_or(def);
}

void TIniFile::WriteFloat(const QString& section, const QString& key, double value) {
    WriteString(section, key, FormatFloat(value));
}

void TIniFile::EraseSection(const QString& section) {
    Modify(fileName_, [&](IniDocument& doc) { doc.EraseSection(section); });
}

void IniBatch::Load() {
    if (loaded_) return;
    LoadedFile file;
    try {
        file = formstate::Load(fileName_);
    } catch (const platform::FileOpenError&) {
        throw IniWriteError(fileName_);
    }
    doc_ = std::move(file.doc);
    encoding_ = file.encoding;
    text_ = std::move(file.text);
    loaded_ = true;
}

void IniBatch::WriteString(const QString& section, const QString& key, const QString& value) {
    Load();
    doc_.SetValue(section, key, value);
}

void IniBatch::WriteInteger(const QString& section, const QString& key, int32_t value) {
    WriteString(section, key, QString::number(value));
}

void IniBatch::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniBatch::WriteFloat(const QString& section, const QString& key, double value) {
    WriteString(section, key, FormatFloat(value));
}

void IniBatch::EraseSection(const QString& section) {
    Load();
    doc_.EraseSection(section);
}

void IniBatch::Commit() {
    CommitCheckpoint(Checkpoint());
}

std::optional<QString> IniBatch::Checkpoint() const {
    if (!loaded_) return std::nullopt;
    return doc_.Serialize(kLineBreak);
}

void IniBatch::CommitCheckpoint(const std::optional<QString>& checkpoint) {
    if (!checkpoint || *checkpoint == text_) return;
    LoadedFile file;
    file.encoding = encoding_;
    file.text = text_;
    KeepUndecodableFile(fileName_, file);
    QString reason;
    if (!platform::ReplaceFileAtomically(fileName_, platform::EncodeText(*checkpoint, encoding_),
                                         &reason))
        throw IniWriteError(fileName_, reason);
    text_ = *checkpoint;
}

}  // namespace formstate
