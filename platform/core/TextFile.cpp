#include "platform/core/TextFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

std::function<bool(const QString&)> g_writeFault;

const char kUtf8Bom[] = "\xEF\xBB\xBF";
const char kUtf16LeBom[] = "\xFF\xFE";
const char kUtf16BeBom[] = "\xFE\xFF";

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes the rename of a finished file durable as well: syncs the directory that holds it.
// Failures are ignored; the file itself is already complete on disk.
void SyncDirectoryOf(const QString& path) {
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The caller has already taken the file's byte-order mark off; a U+FEFF that follows it is
// text and must stay (a decoder drops an initial one unless told otherwise).
QString Decode(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(
        encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

}  // namespace

FileOpenError::FileOpenError(const QString& path, const QString& reason)
    : Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason)) {}

FileCreateError::FileCreateError(const QString& path, const QString& reason)
    : Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason)) {}

namespace {

DecodedText DecodeWithoutCheck(const QByteArray& bytes) {
    const QByteArrayView view(bytes);
    if (view.startsWith(QByteArrayView(kUtf8Bom, 3)))
        return {Decode(QStringConverter::Utf8, view.sliced(3)), TextEncoding::Utf8};
    if (view.startsWith(QByteArrayView(kUtf16LeBom, 2)))
        return {Decode(QStringConverter::Utf16LE, view.sliced(2)), TextEncoding::Utf16LE};
    if (view.startsWith(QByteArrayView(kUtf16BeBom, 2)))
        return {Decode(QStringConverter::Utf16BE, view.sliced(2)), TextEncoding::Utf16BE};
    return {Decode(QStringConverter::Utf8, view), TextEncoding::Ansi};
}

}  // namespace

DecodedText DecodeText(const QByteArray& bytes) {
    DecodedText decoded = DecodeWithoutCheck(bytes);
    decoded.lossless = EncodeText(decoded.text, decoded.encoding) == bytes;
    return decoded;
}

QByteArray EncodeText(QStringView text, TextEncoding encoding) {
    QByteArray out;
    QStringConverter::Encoding target = QStringConverter::Utf8;
    switch (encoding) {
        case TextEncoding::Ansi:
            break;
        case TextEncoding::Utf8:
            out.append(kUtf8Bom, 3);
            break;
        case TextEncoding::Utf16LE:
            out.append(kUtf16LeBom, 2);
            target = QStringConverter::Utf16LE;
            break;
        case TextEncoding::Utf16BE:
            out.append(kUtf16BeBom, 2);
            target = QStringConverter::Utf16BE;
            break;
    }
    QStringEncoder encoder(target, QStringConverter::Flag::Stateless);
    out.append(encoder.encode(text));
    return out;
}

QStringList SplitLines(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines << text.mid(start, i - start).toString();
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines << text.mid(start).toString();
    return lines;
}

QString NormalizeLineBreaks(QStringView text, QStringView lineBreak) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < n && text[i + 1] == u'\n') ++i;
            out += lineBreak;
        } else if (c == u'\n') {
            out += lineBreak;
        } else {
            out += c;
        }
    }
    return out;
}

DecodedText ReadTextFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) throw FileOpenError(path, SystemReason(EISDIR));
    // Only regular files: opening a named pipe blocks until another program writes to it,
    // and a device such as /dev/zero never ends.
    if (info.exists() && !info.isFile())
        throw FileOpenError(path, QStringLiteral("Not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw FileOpenError(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw FileOpenError(path, file.errorString());
    return DecodeText(bytes);
}

bool ReplaceFileAtomically(const QString& path, const QByteArray& bytes, QString* reason) {
    auto fail = [reason](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    if (QFileInfo(path).isDir()) return fail(SystemReason(EISDIR));

    // QSaveFile writes to a temporary file beside the target and renames it on commit; when
    // it is destroyed uncommitted the temporary file goes and the target stays untouched.
    // A directory that may not be written (a folder an administrator prepared, whose files
    // the user may write) leaves no room for the temporary file: then the file itself is
    // rewritten in place, which is not atomic but saves, where the rename could not.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (file.handle() >= 0 && ::fsync(file.handle()) != 0) {
        const int error = errno;
        file.cancelWriting();
        return fail(SystemReason(error));
    }
    if (g_writeFault && g_writeFault(path)) {
        file.cancelWriting();
        return fail(SystemReason(ENOSPC));
    }
    if (!file.commit()) return fail(file.errorString());
    SyncDirectoryOf(path);
    return true;
}

void WriteTextFile(const QString& path, QStringView text, TextEncoding encoding) {
    QString reason;
    if (!ReplaceFileAtomically(path, EncodeText(text, encoding), &reason))
        throw FileCreateError(path, reason);
}

ScopedWriteFault::ScopedWriteFault(std::function<bool(const QString&)> failsFor)
    : previous_(std::move(g_writeFault)) {
    g_writeFault = std::move(failsFor);
}

ScopedWriteFault::~ScopedWriteFault() {
    g_writeFault = std::move(previous_);
}

}  // namespace platform
