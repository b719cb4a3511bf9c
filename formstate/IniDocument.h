// The settings file's text as a list of lines, and the rules by which a key's value is found,
// replaced, added and erased. Pure text work: the file itself is TIniFile's business.
//
// How a hand-edited file is read:
// - A line whose first non-blank character is "[" and that holds a "]" after it is a section
//   header; the name is the text between them without blanks around it.
// - A line whose first non-blank character is ";" is a comment. Comments, blank lines and
//   lines without "=" are ignored by reads and kept as they are by writes.
// - Any other line with "=" is a key line: the key is the text before the first "=", the
//   value the text after it, both without blanks around them (see CleanValue).
// - Lines before the first header belong to no section.
// - Section and key names match without regard to case. When a section name stands twice,
//   the first section is the one read and written; when a key stands twice in a section,
//   its first line is the one read and replaced.
// How it is written:
// - A key line reads key, "=", value with no blanks around the "="; a key written again
//   replaces its first line in place.
// - A new key goes after the last non-blank line of its section; a new section goes at the
//   end of the file, with no blank line before it.
// - Erasing a section removes every section of that name, each from its header up to the
//   next header (comments and blank lines in between go with it).
// - Line breaks inside a value would split the file into new lines (and could forge keys or
//   sections), so a written value has each CR and LF replaced by a space.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace formstate {

// The longest text a key-lookup read returns.
constexpr qsizetype kMaxProfileValue = 2047;

class IniDocument {
public:
    IniDocument() = default;
    // Lines end at CR LF, lone CR or lone LF.
    static IniDocument Parse(QStringView text);
    // Every line followed by `lineBreak`, the last one too.
    QString Serialize(QStringView lineBreak) const;

    const QStringList& Lines() const { return lines_; }

    // The raw text after the first "=" of the key's line, or nothing when the section or
    // the key is missing.
    std::optional<QString> RawValue(QStringView section, QStringView key) const;
    // Replaces the key's value in place, or adds the key to its section, or adds the section.
    void SetValue(QStringView section, QStringView key, QStringView value);
    // Removes every section of that name; false when there was none.
    bool EraseSection(QStringView section);

private:
    // Index of the first header of that section, or -1.
    qsizetype FindSection(QStringView section) const;
    // One past the last line of the section whose header is at `header`.
    qsizetype SectionEnd(qsizetype header) const;

    QStringList lines_;
};

// The value as a key-lookup read returns it: blanks (spaces and tabs) around it removed,
// then one pair of enclosing single or double quotes (blanks inside them stay); a value
// longer than 2047 characters then goes through LimitProfileText.
QString CleanValue(QStringView raw);
// Cut to its first 2047 characters, then without trailing blanks: what a default returned
// in place of a missing key becomes, and a value that was too long.
QString LimitProfileText(QStringView text);

}  // namespace formstate
