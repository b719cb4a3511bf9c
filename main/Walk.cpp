#include "main/Walk.h"

#include "platform/IntConvert.h"

namespace walk {

QString MergeSpacePairs(const QString& text) {
    const qsizetype n = text.size();
    // Most lists hold no double space at all: hand the text back without copying.
    if (text.indexOf(QLatin1String("  ")) < 0) return text;
    QString out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        out.append(text[i]);
        if (text[i] == u' ' && i + 1 < n && text[i + 1] == u' ') ++i;
    }
    return out;
}

QString StripTrailingChar(const QString& s, QChar c) {
    if (!s.isEmpty() && s.back() == c) return s.left(s.size() - 1);
    return s;
}

QStringView TrimEntry(QStringView entry) {
    qsizetype b = 0;
    qsizetype e = entry.size();
    while (b < e && entry[b].unicode() <= 32) ++b;
    while (e > b && entry[e - 1].unicode() <= 32) --e;
    return entry.mid(b, e - b);
}

std::optional<int32_t> ReadNumber(QStringView trimmed) { return platform::TryStrToInt(trimmed); }

QString DeleteWholeEntry(const QString& text, QStringView entry) {
    if (entry.isEmpty()) return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    const qsizetype m = entry.size();
    qsizetype copied = 0;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = QStringView(text).indexOf(entry, from);
        if (at < 0) break;
        const bool startOk = at == 0 || text[at - 1].unicode() <= 32;
        const bool endOk = at + m == n || text[at + m].unicode() <= 32;
        if (startOk && endOk) {
            out.append(QStringView(text).mid(copied, at - copied));
            copied = at + m;
            from = at + m;
        } else {
            from = at + 1;
        }
    }
    if (copied == 0) return text;
    out.append(QStringView(text).mid(copied));
    return out;
}

}  // namespace walk
