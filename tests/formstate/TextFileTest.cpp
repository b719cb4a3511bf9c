// Text files: byte-order marks, line ends, and the atomic replacement that never leaves a
// file half written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/core/TextFile.h"
#include "tests/formstate/Scratch.h"
#include "tests/support/FilePermissions.h"

using platform::TextEncoding;

namespace {

TEST(TextFile, DecodesByteOrderMarksAndDefaultsToUtf8) {
    struct Case {
        QByteArray bytes;
        QString text;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {QByteArray("5 12 7"), QStringLiteral("5 12 7"), TextEncoding::Ansi},
        {QByteArray("\xD0\x96"), QStringLiteral("Ж"), TextEncoding::Ansi},
        {QByteArray("\xEF\xBB\xBF\xD0\x96"), QStringLiteral("Ж"), TextEncoding::Utf8},
        {QByteArray("\xFF\xFE\x16\x04z\x00", 6), QStringLiteral("Жz"), TextEncoding::Utf16LE},
        {QByteArray("\xFE\xFF\x04\x16\x00z", 6), QStringLiteral("Жz"), TextEncoding::Utf16BE},
        {QByteArray("\xEF\xBB\xBF"), QString(), TextEncoding::Utf8},
        // Only the first mark is the file's: a U+FEFF right after it is text and stays.
        {QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx"), TextEncoding::Utf8},
        {QByteArray("\xFF\xFE\xFF\xFEx\x00", 6), QStringLiteral("\uFEFFx"), TextEncoding::Utf16LE},
        {QByteArray("\xFE\xFF\xFE\xFF\x00x", 6), QStringLiteral("\uFEFFx"), TextEncoding::Utf16BE},
        {QByteArray(), QString(), TextEncoding::Ansi},
    };
    for (const Case& c : cases) {
        const platform::DecodedText d = platform::DecodeText(c.bytes);
        EXPECT_EQ(d.text, c.text) << c.bytes.toHex().constData();
        EXPECT_EQ(d.encoding, c.encoding) << c.bytes.toHex().constData();
        // Written back in the encoding found, the bytes come out the same.
        EXPECT_EQ(platform::EncodeText(d.text, d.encoding), c.bytes);
    }
}

TEST(TextFile, SplitsLinesAtCrLfLoneCrAndLoneLf) {
    struct Case {
        QString text;
        QStringList lines;
        QString normalized;
    };
    const Case cases[] = {
        {QString(), {}, QString()},
        {QStringLiteral("a"), {"a"}, QStringLiteral("a")},
        {QStringLiteral("a\r\nb\rc\nd"), {"a", "b", "c", "d"}, QStringLiteral("a|b|c|d")},
        {QStringLiteral("a\r\n"), {"a"}, QStringLiteral("a|")},
        {QStringLiteral("\r\n"), {""}, QStringLiteral("|")},
        {QStringLiteral("a\n\nb"), {"a", "", "b"}, QStringLiteral("a||b")},
        {QStringLiteral("a\n\r\nb"), {"a", "", "b"}, QStringLiteral("a||b")},
        {QStringLiteral("a\r\rb"), {"a", "", "b"}, QStringLiteral("a||b")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::SplitLines(c.text), c.lines) << qPrintable(c.text.toUtf8().toHex());
        EXPECT_EQ(platform::NormalizeLineBreaks(c.text, u"|"), c.normalized);
    }
}

TEST(TextFile, WritesAndReadsBackEveryEncoding) {
    scratch::Dir dir;
    const QString text = QStringLiteral("5 12 7\nЖ ok");
    for (TextEncoding e :
         {TextEncoding::Ansi, TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        platform::WriteTextFile(dir.Path("f.txt"), text, e);
        const platform::DecodedText back = platform::ReadTextFile(dir.Path("f.txt"));
        EXPECT_EQ(back.text, text);
        EXPECT_EQ(back.encoding, e);
    }
    // The system code page carries no byte-order mark and adds nothing at the end.
    platform::WriteTextFile(dir.Path("f.txt"), text, TextEncoding::Ansi);
    EXPECT_EQ(dir.Read("f.txt"), text.toUtf8());
}

TEST(TextFile, ReportsFilesThatCannotBeOpenedOrCreated) {
    scratch::Dir dir;
    const QString missing = dir.Path("missing.txt");
    try {
        platform::ReadTextFile(missing);
        FAIL() << "no error";
    } catch (const platform::FileOpenError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot open file \"") + missing +
                                           QStringLiteral("\". ")))
            << qPrintable(e.message());
    }
    QDir().mkpath(dir.Path("sub"));
    EXPECT_THROW(platform::ReadTextFile(dir.Path("sub")), platform::FileOpenError);
    // Only regular files are read: a named pipe would block the read until some other
    // program writes to it, and a device may never end.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.Path("pipe")).constData(), 0644), 0);
    EXPECT_THROW(platform::ReadTextFile(dir.Path("pipe")), platform::FileOpenError);
    EXPECT_THROW(platform::ReadTextFile(QStringLiteral("/dev/zero")), platform::FileOpenError);

    // A directory where the file must go, and a directory that does not exist.
    for (const QString& path : {dir.Path("sub"), dir.Path("nowhere/f.txt")}) {
        try {
            platform::WriteTextFile(path, u"x", TextEncoding::Ansi);
            FAIL() << "no error for " << qPrintable(path);
        } catch (const platform::FileCreateError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot create file \"") + path +
                                               QStringLiteral("\". ")))
                << qPrintable(e.message());
            EXPECT_GT(e.message().size(),
                      QStringLiteral("Cannot create file \"\". ").size() + path.size());
        }
    }
    EXPECT_TRUE(QFileInfo(dir.Path("sub")).isDir());
}

TEST(TextFile, AFailedReplacementLeavesTheOldFileAndNoTemporaryFile) {
    scratch::Dir dir;
    dir.Write("f.txt", "old contents");
    {
        platform::ScopedWriteFault full([](const QString& path) { return path.endsWith("f.txt"); });
        QString reason;
        EXPECT_FALSE(
            platform::ReplaceFileAtomically(dir.Path("f.txt"), QByteArray(100000, 'n'), &reason));
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_THROW(platform::WriteTextFile(dir.Path("f.txt"), u"new", TextEncoding::Ansi),
                     platform::FileCreateError);
        // Other files are not affected by the fault.
        EXPECT_TRUE(platform::ReplaceFileAtomically(dir.Path("g.txt"), "g", nullptr));
    }
    EXPECT_EQ(dir.Read("f.txt"), QByteArray("old contents"));
    EXPECT_EQ(dir.Entries(), QStringList({"f.txt", "g.txt"}));

    EXPECT_TRUE(platform::ReplaceFileAtomically(dir.Path("f.txt"), "new", nullptr));
    EXPECT_EQ(dir.Read("f.txt"), QByteArray("new"));
    EXPECT_EQ(dir.Entries(), QStringList({"f.txt", "g.txt"}));
}

// An ordinary user saving into a folder that belongs to someone else: the folder allows or
// refuses new files, the file allows or refuses writing. Where the folder refuses, the file
// is written in place if it may be; otherwise the old bytes stay.
TEST(TextFile, ReplacesInPlaceWhereOnlyTheFileMayBeWritten) {
    struct Case {
        const char* name;
        QFileDevice::Permissions dir;
        QFileDevice::Permissions file;  // {} : no file there
        bool saves;
        bool sameInode;  // written in place rather than renamed over
    };
    using testing_support::perms::r, testing_support::perms::rw;
    using testing_support::perms::rx, testing_support::perms::rwx;
    const Case cases[] = {
        {"open folder: atomic replacement", rwx, rw, true, false},
        {"closed folder, writable file: in place", rx, rw, true, true},
        {"closed folder, read-only file: refused", rx, r, false, true},
        {"closed folder, no file: refused", rx, {}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scratch::Dir dir;
        QDir().mkpath(dir.Path("prepared"));
        const QString path = dir.Path("prepared/settings.dat");
        if (c.file) {
            dir.Write("prepared/settings.dat", "old contents");
            QFile::setPermissions(path, c.file);
        }
        QFile::setPermissions(dir.Path(""), rx);
        QFile::setPermissions(dir.Path("prepared"), c.dir);
        struct stat before {};
        ::stat(QFile::encodeName(path).constData(), &before);
        bool saved = false;
        QString reason;
        {
            testing_support::ScopedNobody nobody;
            ASSERT_TRUE(nobody.Binding());
            saved = platform::ReplaceFileAtomically(path, "new contents", &reason);
        }
        QFile::setPermissions(dir.Path("prepared"), rwx);
        QFile::setPermissions(dir.Path(""), rwx);
        EXPECT_EQ(saved, c.saves) << qPrintable(reason);
        EXPECT_EQ(dir.Read("prepared/settings.dat"), QByteArray(c.saves  ? "new contents"
                                                                : c.file ? "old contents"
                                                                         : "<missing>"));
        EXPECT_EQ(dir.Entries(),
                  QStringList({"prepared"}) +
                      (c.file || c.saves ? QStringList({"prepared/settings.dat"}) : QStringList()));
        if (c.file) {
            struct stat after {};
            ::stat(QFile::encodeName(path).constData(), &after);
            EXPECT_EQ(after.st_ino == before.st_ino, c.sameInode);
        }
    }
}

}  // namespace
