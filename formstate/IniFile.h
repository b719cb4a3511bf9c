// TIniFile: the settings file's accessor. It holds no cache: every read loads the file
// anew, every write reads the file, changes it and replaces it atomically at once. Section
// and key names match without regard to case; the text rules are IniDocument's.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "formstate/IniDocument.h"
#include "platform/core/Exception.h"
#include "platform/core/TextFile.h"

namespace formstate {

// "Unable to write to <path>": a write or an erase did not reach the file.
class IniWriteError : public platform::Exception {
public:
    explicit IniWriteError(const QString& path, QString reason = QString());
    // The system's explanation when one is known (not part of the message).
    const QString& Reason() const { return reason_; }

private:
    QString reason_;
};

class TIniFile {
public:
    explicit TIniFile(QString fileName) : fileName_(std::move(fileName)) {}

    const QString& FileName() const { return fileName_; }

    // The key's value (see CleanValue), or `def` without trailing blanks when the file, the
    // section or the key is missing; either way at most 2047 characters.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Replaces the key's value, or adds the key or its section; creates the file if needed.
    void WriteString(const QString& section, const QString& key, const QString& value);

    // The value read as an integer (decimal, or hexadecimal after "$", "x" or "0x"); `def`
    // when it is missing, empty or anything else.
    int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
    // Signed decimal digits.
    void WriteInteger(const QString& section, const QString& key, int32_t value);

    // ReadInteger with `def` as 1 or 0; true when the result is not 0 ("true" is no number
    // and gives `def`).
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    // "1" or "0".
    void WriteBool(const QString& section, const QString& key, bool value);

    // The value read as a floating-point number with the user's decimal separator; `def`
    // when it is missing, empty or does not convert.
    double ReadFloat(const QString& section, const QString& key, double def) const;
    // General format, at most 15 significant digits, the user's decimal separator.
    void WriteFloat(const QString& section, const QString& key, double value);

    // Removes the section with all its keys; a missing section is no error and no write.
    void EraseSection(const QString& section);

private:
    QString fileName_;
};

// The same writes as TIniFile's, gathered in memory and put on disk by Commit in one atomic
// replacement: a save cut short (a kill, a power cut) leaves the old file or the new one,
// never a section half rebuilt. The file is read at the first write; the text rules and
// the encoding kept are TIniFile's.
class IniBatch {
public:
    explicit IniBatch(QString fileName) : fileName_(std::move(fileName)) {}

    // Throw IniWriteError when the file exists but cannot be read.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int32_t value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteFloat(const QString& section, const QString& key, double value);
    void EraseSection(const QString& section);

    // Replaces the file when its text changed (a text that did not change is not written
    // again). Throws IniWriteError.
    void Commit();
    // The text the writes so far give (nothing when there was none), and the file replaced by
    // such a text taken earlier: what the file held at that step of a series of writes.
    std::optional<QString> Checkpoint() const;
    void CommitCheckpoint(const std::optional<QString>& checkpoint);

private:
    void Load();

    QString fileName_;
    bool loaded_ = false;
    IniDocument doc_;
    platform::TextEncoding encoding_ = platform::TextEncoding::Ansi;
    QString text_;  // the file's text as it stands on disk
};

}  // namespace formstate
