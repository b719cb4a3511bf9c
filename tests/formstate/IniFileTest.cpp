// The settings file's accessor: how values are found and cleaned, how integers, booleans,
// floats and times read, where writes go, and that a failed write changes nothing.
#include <gtest/gtest.h>

#include "formstate/IniFile.h"
#include "formstate/Values.h"
#include "platform/core/Locale.h"
#include "platform/core/TextFile.h"
#include "tests/formstate/Scratch.h"

using formstate::TIniFile;

namespace {

// Puts other number and time formats in force for one test.
class ScopedFormats {
public:
    explicit ScopedFormats(platform::FormatSettings f) : saved_(platform::Formats()) {
        platform::Formats() = std::move(f);
    }
    ~ScopedFormats() { platform::Formats() = saved_; }

private:
    platform::FormatSettings saved_;
};

TEST(IniFile, ReadStringFindsAndCleansValues) {
    const QString longValue = QString(2046, u'x') + QStringLiteral("   yyyy");
    struct Case {
        QByteArray file;
        QString key;
        QString expected;
    };
    const Case cases[] = {
        {"[S]\nk=v\n", "k", "v"},
        {"[s]\nK=v", "k", "v"},                      // names ignore case
        {"[ S ]\n  k  =  v w  \n", "k", "v w"},      // blanks around names and value
        {"[S]\nk=\"quoted\"", "k", "quoted"},        // one pair of quotes goes
        {"[S]\nk=  '  in  '  ", "k", "  in  "},      // blanks inside quotes stay
        {"[S]\nk=\"\"x\"\"", "k", "\"x\""},          // only one pair
        {"[S]\nk=\"open", "k", "\"open"},            // unbalanced quotes stay
        {"[S]\nk=\"mixed'", "k", "\"mixed'"},        //
        {"[S]\nk=a=b", "k", "a=b"},                  // after the first "="
        {"[S]\nk=", "k", ""},                        // empty value, not the default
        {"[S]\nj=1", "k", "def"},                    // missing key: default, trimmed
        {"[T]\nk=1", "k", "def"},                    // missing section
        {"k=0\n[S]", "k", "def"},                    // lines before any header
        {"[S]\n; k=1\nk=2", "k", "2"},               // comments are no keys
        {"[S]\nk\nk=3", "k", "3"},                   // lines without "=" are ignored
        {"[S]\nk=1\nk=2", "k", "1"},                 // duplicate key: the first
        {"[T]\nk=1\n[S]\nk=2\n[T]\nk=3", "k", "2"},  // the next header ends a section
        {"[S]\nk=1\n[S]\nj=2", "j", "def"},          // duplicate section: the first
        {"[S]\r\nk=crlf\r\n", "k", "crlf"},          // CR LF line ends
        {"[S]\rk=cr\r", "k", "cr"},                  // lone CR line ends
        {"\xEF\xBB\xBF[S]\nk=\xD0\x96", "k", "Ж"},   // UTF-8 with its mark
        {"[S]\nk=" + longValue.toUtf8(), "k", QString(2046, u'x')},  // cut, then trimmed
    };
    for (const Case& c : cases) {
        scratch::Dir dir;
        dir.Write("settings.dat", c.file);
        EXPECT_EQ(TIniFile(dir.Settings()).ReadString("S", c.key, "def   "), c.expected)
            << c.file.constData();
    }
}

TEST(IniFile, DefaultsLoseTrailingBlanksAndAreCutTo2047) {
    scratch::Dir dir;
    TIniFile ini(dir.Settings());  // no file at all
    EXPECT_EQ(ini.ReadString("S", "k", "  a b  "), "  a b");
    EXPECT_EQ(ini.ReadString("S", "k", QString(3000, u'z')), QString(2047, u'z'));
    ini.WriteString("S", "k", QString(3000, u'q'));
    EXPECT_EQ(ini.ReadString("S", "k", ""), QString(2047, u'q'));
}

TEST(IniFile, IntegersAndBooleansReadOnlyWholeNumbers) {
    struct Case {
        QString text;
        int32_t integer;    // ReadInteger with default 7
        bool boolFromTrue;  // ReadBool with default true
    };
    const Case cases[] = {
        {"12", 12, true},    {"0", 0, false},         {"-16777201", -16777201, true},
        {"0xFF", 255, true}, {"$FF", 255, true},      {"xff", 255, true},
        {"$0", 0, false},    {"$FFFFFFFF", -1, true}, {"  -5", -5, true},
        {"true", 7, true},   {"", 7, true},           {"12abc", 7, true},
        {"1.5", 7, true},    {"2147483648", 7, true}, {"-2147483648", INT32_MIN, true},
    };
    for (const Case& c : cases) {
        scratch::Dir dir;
        dir.Write("settings.dat", "[S]\nk=" + c.text.toUtf8() + "\n");
        TIniFile ini(dir.Settings());
        EXPECT_EQ(ini.ReadInteger("S", "k", 7), c.integer) << qPrintable(c.text);
        EXPECT_EQ(ini.ReadBool("S", "k", true), c.boolFromTrue) << qPrintable(c.text);
    }
    // "true" is no number: the default comes back whichever it is.
    scratch::Dir dir;
    dir.Write("settings.dat", "[S]\nk=true\n");
    EXPECT_FALSE(TIniFile(dir.Settings()).ReadBool("S", "k", false));
}

TEST(IniFile, WritesGoToTheirPlaceAndNormaliseLineEnds) {
    struct Case {
        const char* what;
        QByteArray before;
        QString key;
        QString value;
        QByteArray after;
    };
    const Case cases[] = {
        {"new file", "<none>", "k", "v", "[S]\nk=v\n"},
        {"replace in place", "[S]\r\na=1\r\nk=old\r\nb=2\r\n", "k", "new",
         "[S]\na=1\nk=new\nb=2\n"},
        {"replace ignoring case", "[s]\nK=1", "k", "2", "[s]\nk=2\n"},
        {"after the section's last line", "[S]\na=1\n\n[T]\nb=2\n", "c", "3",
         "[S]\na=1\nc=3\n\n[T]\nb=2\n"},
        {"new section at the end", "[T]\nb=2\n", "k", "v", "[T]\nb=2\n[S]\nk=v\n"},
        {"first of duplicate keys", "[S]\nk=1\nk=2\n", "k", "9", "[S]\nk=9\nk=2\n"},
        {"first of duplicate sections", "[S]\na=1\n[S]\nb=2\n", "b", "9",
         "[S]\na=1\nb=9\n[S]\nb=2\n"},
        {"comments and blank lines stay", "; top\n\n[S]\n; note\nk=1\n", "k", "2",
         "; top\n\n[S]\n; note\nk=2\n"},
        {"no line breaks in values", "", "k", "a\r\nb\nc", "[S]\nk=a  b c\n"},
        {"blanks and quotes written as given", "", "k", " \"q\" ", "[S]\nk= \"q\" \n"},
    };
    for (const Case& c : cases) {
        scratch::Dir dir;
        if (c.before != "<none>") dir.Write("settings.dat", c.before);
        TIniFile(dir.Settings()).WriteString("S", c.key, c.value);
        EXPECT_EQ(dir.Read("settings.dat"), c.after) << c.what;
    }
}

TEST(IniFile, EraseSectionRemovesEverySectionOfThatName) {
    scratch::Dir dir;
    dir.Write("settings.dat", "[A]\na=1\n[S]\nk=1\n\n; about B\n[B]\nb=1\n[s]\nx=1\n");
    TIniFile ini(dir.Settings());
    ini.EraseSection("S");
    EXPECT_EQ(dir.Read("settings.dat"), QByteArray("[A]\na=1\n[B]\nb=1\n"));
    ini.EraseSection("missing");
    EXPECT_EQ(dir.Read("settings.dat"), QByteArray("[A]\na=1\n[B]\nb=1\n"));

    // Erasing in a file that does not exist is no error and makes no file.
    scratch::Dir empty;
    TIniFile(empty.Settings()).EraseSection("S");
    EXPECT_FALSE(empty.Exists("settings.dat"));
}

TEST(IniFile, KeepsTheEncodingTheFileWasFoundIn) {
    scratch::Dir dir;
    dir.Write("settings.dat",
              platform::EncodeText(u"[S]\r\nk=Ж\r\n", platform::TextEncoding::Utf16LE));
    TIniFile ini(dir.Settings());
    EXPECT_EQ(ini.ReadString("S", "k", ""), "Ж");
    ini.WriteString("S", "j", "Ё");
    EXPECT_EQ(dir.Read("settings.dat"),
              platform::EncodeText(u"[S]\nk=Ж\nj=Ё\n", platform::TextEncoding::Utf16LE));
}

// Bytes that do not decode (invalid UTF-8 from another program or a damaged disk) would be
// lost when the file is rewritten from its text: a copy of the file is kept first, once.
TEST(IniFile, AFileWhoseBytesDoNotDecodeIsKeptAsABackupBeforeTheFirstWrite) {
    scratch::Dir dir;
    const QByteArray damaged = "[S]\nk=\xC3\x28 \xFF\n[T]\nt=1\n";
    dir.Write("settings.dat", damaged);
    TIniFile ini(dir.Settings());
    ini.WriteString("S", "j", "2");
    ini.WriteString("S", "i", "3");
    EXPECT_EQ(dir.Read("settings.dat.bak"), damaged);
    EXPECT_EQ(ini.ReadString("T", "t", ""), "1");
    EXPECT_EQ(dir.Entries(), QStringList({"settings.dat", "settings.dat.bak"}));

    // A file that decodes, whatever its line ends, needs no backup.
    scratch::Dir clean;
    clean.Write("settings.dat", "[S]\r\nk=\xD0\x96\r\n");
    TIniFile(clean.Settings()).WriteString("S", "j", "2");
    EXPECT_EQ(clean.Entries(), QStringList({"settings.dat"}));
}

TEST(IniFile, AFailedWriteReportsThePathAndLeavesTheFile) {
    scratch::Dir dir;
    const QByteArray before = "[S]\nk=1\n";
    dir.Write("settings.dat", before);
    TIniFile ini(dir.Settings());
    const QString expected = QStringLiteral("Unable to write to ") + dir.Settings();
    {
        platform::ScopedWriteFault full([](const QString&) { return true; });
        for (const auto& write : std::vector<std::function<void()>>{
                 [&] { ini.WriteString("S", "k", "2"); }, [&] { ini.EraseSection("S"); },
                 [&] { ini.WriteInteger("S", "n", 5); }}) {
            try {
                write();
                ADD_FAILURE() << "no error";
            } catch (const formstate::IniWriteError& e) {
                EXPECT_EQ(e.message(), expected);
            }
        }
    }
    EXPECT_EQ(dir.Read("settings.dat"), before);
    EXPECT_EQ(dir.Entries(), QStringList({"settings.dat"}));

    // A directory standing where the file should be.
    QDir().mkpath(dir.Path("dir.dat"));
    TIniFile onDir(dir.Path("dir.dat"));
    EXPECT_EQ(onDir.ReadString("S", "k", "d"), "d");
    EXPECT_THROW(onDir.WriteString("S", "k", "v"), formstate::IniWriteError);
}

TEST(IniFile, NumbersAreWrittenAsDecimalAndFloatsInGeneralFormat) {
    scratch::Dir dir;
    TIniFile ini(dir.Settings());
    ini.WriteInteger("S", "i", -16777201);
    ini.WriteBool("S", "b", true);
    ini.WriteBool("S", "c", false);
    ini.WriteFloat("S", "f", 2.5);
    EXPECT_EQ(dir.Read("settings.dat"), QByteArray("[S]\ni=-16777201\nb=1\nc=0\nf=2.5\n"));
    EXPECT_EQ(ini.ReadInteger("S", "i", 0), -16777201);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "f", 0), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "b", 9), 1.0);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "missing", 9), 9.0);
}

TEST(Values, FloatsUseTheGeneralFormatAndTheUsersSeparator) {
    const std::pair<double, QString> cases[] = {
        {0, "0"},           {2.5, "2.5"},
        {-0.5, "-0.5"},     {1.0 / 3, "0.333333333333333"},
        {0.0001, "0.0001"}, {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"}, {1e14, "100000000000000"},
        {1e15, "1E15"},     {123456789012345678.0, "1.23456789012346E17"},
        {-1e300, "-1E300"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(formstate::FormatFloat(value), text);
        ASSERT_TRUE(formstate::ParseFloat(text).has_value()) << qPrintable(text);
        EXPECT_DOUBLE_EQ(*formstate::ParseFloat(text), std::stod(text.toStdString()));
    }
    for (const char* bad : {"", "abc", "1.2.3", "1,5", ".", "1e", "--1", "1 2"})
        EXPECT_FALSE(formstate::ParseFloat(bad).has_value()) << bad;
    EXPECT_EQ(formstate::ParseFloat(" -.5 "), -0.5);
    EXPECT_EQ(formstate::ParseFloat("1e400"), std::nullopt);

    platform::FormatSettings comma;
    comma.decimalSeparator = ",";
    ScopedFormats formats(comma);
    EXPECT_EQ(formstate::FormatFloat(2.5), "2,5");
    EXPECT_EQ(formstate::ParseFloat("2,5"), 2.5);
    EXPECT_FALSE(formstate::ParseFloat("2.5").has_value());
}

TEST(Values, TimesUseTheLongTimeFormat) {
    EXPECT_EQ(formstate::FormatTime(QTime(9, 5, 7)), "09:05:07");
    EXPECT_EQ(formstate::ParseTime("09:05:07"), QTime(9, 5, 7));
    EXPECT_EQ(formstate::ParseTime(" 9:05 "), QTime(9, 5));
    for (const char* bad : {"", "25:00:00", "noon", "12:00:00 x"}) {
        try {
            formstate::ParseTime(bad);
            ADD_FAILURE() << "read " << bad;
        } catch (const formstate::ConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid time").arg(bad));
        }
    }

    // A format with a time zone designator, which a time of day cannot carry.
    platform::FormatSettings us;
    us.longTimeFormat = "h:mm:ss AP t";
    ScopedFormats formats(us);
    EXPECT_EQ(formstate::FormatTime(QTime(13, 5, 0)), "1:05:00 PM");
    EXPECT_EQ(formstate::ParseTime("1:05:00 PM"), QTime(13, 5, 0));
}

}  // namespace
