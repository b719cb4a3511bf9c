// Whole-file text reading and writing with encodings: byte-order marks, line ends, and the
// atomic replacement of a file, so that a crash, a kill or a full disk never leaves a file
// truncated or empty. The settings store reads and writes every file through here.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

#include "platform/core/Exception.h"

namespace platform {

// The encoding a text file was found in, and is written back in. The system code page
// (Ansi) is UTF-8 on Linux and carries no byte-order mark; the others begin with theirs.
enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// "Cannot open file "<path>". <reason>"
class FileOpenError : public Exception {
public:
    FileOpenError(const QString& path, const QString& reason);
};

// "Cannot create file "<path>". <reason>"
class FileCreateError : public Exception {
public:
    FileCreateError(const QString& path, const QString& reason);
};

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Ansi;
    // False when writing the text back in `encoding` would not give the bytes read (bytes
    // that are not valid in the encoding were read as U+FFFD).
    bool lossless = true;
};

// A leading EF BB BF, FF FE or FE FF selects UTF-8, UTF-16 LE or UTF-16 BE and is dropped;
// without one the bytes are UTF-8 (invalid sequences become U+FFFD).
DecodedText DecodeText(const QByteArray& bytes);
// The text in `encoding`, with its byte-order mark where it has one.
QByteArray EncodeText(QStringView text, TextEncoding encoding);

// Lines end at CR LF, at a lone CR and at a lone LF. A line end at the very end of the
// text starts no further line: "a\nb\n" and "a\nb" both give {a, b}; "" gives {}.
QStringList SplitLines(QStringView text);
// The text with every CR LF, lone CR and lone LF turned into `lineBreak`.
QString NormalizeLineBreaks(QStringView text, QStringView lineBreak);

// The whole file, decoded. Throws FileOpenError when it cannot be read (missing, a
// directory, a named pipe, a device or anything else that is no regular file, no
// permission).
DecodedText ReadTextFile(const QString& path);

// Replaces the file's contents with `bytes` atomically: the bytes go to a temporary file in
// the same directory, are flushed and synced to disk, and the temporary file is renamed
// over the old one. On failure the old file is left exactly as it was, no temporary file
// remains, `reason` gets the system's explanation and the result is false. A file that
// the user may not write is refused (QSaveFile asks the system), whatever its directory
// allows. Where the
// directory may not be written but the file may, the file is rewritten in place instead
// (not atomic: a failure part-way leaves it incomplete).
bool ReplaceFileAtomically(const QString& path, const QByteArray& bytes, QString* reason);

// Writes the text in `encoding` through ReplaceFileAtomically. Throws FileCreateError.
void WriteTextFile(const QString& path, QStringView text, TextEncoding encoding);

// Test seam: while an object lives, every ReplaceFileAtomically for a path on which
// `failsFor` answers true writes its temporary file in full and then gives up as a full
// disk would, before the rename.
class ScopedWriteFault {
public:
    explicit ScopedWriteFault(std::function<bool(const QString& path)> failsFor);
    ~ScopedWriteFault();
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

private:
    std::function<bool(const QString&)> previous_;
};

}  // namespace platform
