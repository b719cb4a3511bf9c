#include "formstate/IniDocument.h"

#include "platform/core/TextFile.h"

namespace formstate {

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

QStringView TrimTrailingBlanks(QStringView s) {
    qsizetype end = s.size();
    while (end > 0 && IsBlank(s[end - 1]))
        --end;
    return s.left(end);
}

// The section name of a header line.
std::optional<QStringView> HeaderName(QStringView line) {
    const QStringView t = TrimBlanks(line);
    if (!t.startsWith(u'[')) return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    if (close < 0) return std::nullopt;
    return TrimBlanks(t.mid(1, close - 1));
}

bool IsComment(QStringView line) {
    return TrimBlanks(line).startsWith(u';');
}

// The key of a key line (header and comment lines are no key lines).
std::optional<QStringView> KeyOf(QStringView line) {
    if (HeaderName(line) || IsComment(line)) return std::nullopt;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) return std::nullopt;
    return TrimBlanks(line.left(eq));
}

bool SameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString SingleLine(QStringView value) {
    QString out = value.toString();
    out.replace(u'\r', u' ');
    out.replace(u'\n', u' ');
    return out;
}

}  // namespace

IniDocument IniDocument::Parse(QStringView text) {
    IniDocument doc;
    doc.lines_ = platform::SplitLines(text);
    return doc;
}

QString IniDocument::Serialize(QStringView lineBreak) const {
    QString out;
    for (const QString& line : lines_) {
        out += line;
        out += lineBreak;
    }
    return out;
}

qsizetype IniDocument::FindSection(QStringView section) const {
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const auto name = HeaderName(lines_[i]);
        if (name && SameName(*name, section)) return i;
    }
    return -1;
}

qsizetype IniDocument::SectionEnd(qsizetype header) const {
    qsizetype i = header + 1;
    while (i < lines_.size() && !HeaderName(lines_[i]))
        ++i;
    return i;
}

std::optional<QString> IniDocument::RawValue(QStringView section, QStringView key) const {
    const qsizetype header = FindSection(section);
    if (header < 0) return std::nullopt;
    const qsizetype end = SectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const auto k = KeyOf(lines_[i]);
        if (k && SameName(*k, key)) return lines_[i].mid(lines_[i].indexOf(u'=') + 1);
    }
    return std::nullopt;
}

void IniDocument::SetValue(QStringView section, QStringView key, QStringView value) {
    const QString line = key.toString() + u'=' + SingleLine(value);
    const qsizetype header = FindSection(section);
    if (header < 0) {
        lines_ << u'[' + section.toString() + u']' << line;
        return;
    }
    const qsizetype end = SectionEnd(header);
    qsizetype lastFilled = header;
    for (qsizetype i = header + 1; i < end; ++i) {
        const auto k = KeyOf(lines_[i]);
        if (k && SameName(*k, key)) {
            lines_[i] = line;
            return;
        }
        if (!TrimBlanks(lines_[i]).isEmpty()) lastFilled = i;
    }
    lines_.insert(lastFilled + 1, line);
}

bool IniDocument::EraseSection(QStringView section) {
    bool erased = false;
    for (qsizetype header = FindSection(section); header >= 0; header = FindSection(section)) {
        lines_.remove(header, SectionEnd(header) - header);
        erased = true;
    }
    return erased;
}

QString CleanValue(QStringView raw) {
    QStringView v = TrimBlanks(raw);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    if (v.size() <= kMaxProfileValue) return v.toString();
    return LimitProfileText(v);
}

QString LimitProfileText(QStringView text) {
    return TrimTrailingBlanks(text.left(kMaxProfileValue)).toString();
}

}  // namespace formstate
