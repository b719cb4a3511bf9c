#include "formstate/Values.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/core/Locale.h"

namespace formstate {

namespace {

// The long time format without time zone designators ("t"), which a time of day has not
// and which QTime cannot read back. Quoted literal text stays as it is.
QString TimeFormatPattern() {
    const QString format = platform::Formats().longTimeFormat;
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        out += c;
    }
    return out.simplified();
}

}  // namespace

QString FormatFloat(double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    // %.15g already picks fixed notation for exponents -5 .. 14 and drops trailing zeros;
    // only the exponent's spelling and the separator differ.
    QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        QString mantissa = text.left(e);
        QString exponent = text.mid(e + 1);
        const bool negative = exponent.startsWith(u'-');
        if (exponent.startsWith(u'+') || negative) exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        text = mantissa + u'E' + (negative ? QStringLiteral("-") : QString()) + exponent;
    }
    text.replace(u'.', platform::Formats().decimalSeparator);
    return text;
}

std::optional<double> ParseFloat(const QString& text) {
    const QString t = text.trimmed();
    const QString upper = t.toUpper();
    if (upper == QLatin1String("NAN")) return std::nan("");
    if (upper == QLatin1String("INF") || upper == QLatin1String("+INF")) return HUGE_VAL;
    if (upper == QLatin1String("-INF")) return -HUGE_VAL;

    const QString separator = QRegularExpression::escape(platform::Formats().decimalSeparator);
    const QRegularExpression pattern(
        QStringLiteral("^([+-]?)(\\d*)(?:%1(\\d*))?(?:[eE]([+-]?\\d+))?$").arg(separator));
    const QRegularExpressionMatch m = pattern.match(t);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty())) return std::nullopt;
    QString c = m.captured(1) + (m.captured(2).isEmpty() ? QStringLiteral("0") : m.captured(2));
    if (!m.captured(3).isEmpty()) c += u'.' + m.captured(3);
    if (!m.captured(4).isEmpty()) c += u'e' + m.captured(4);
    bool ok = false;
    const double value = c.toDouble(&ok);  // QString::toDouble reads the C locale
    if (!ok) return std::nullopt;          // out of range
    return value;
}

QString FormatTime(const QTime& time) {
    return time.toString(TimeFormatPattern());
}

QTime ParseTime(const QString& text) {
    const QString t = text.trimmed();
    QTime time = QTime::fromString(t, TimeFormatPattern());
    for (const char* fallback : {"H:m:s", "H:m", "h:m:s AP", "h:m AP"}) {
        if (time.isValid()) break;
        time = QTime::fromString(t, QLatin1String(fallback));
    }
    if (!time.isValid()) throw ConvertError(QStringLiteral("'%1' is not a valid time").arg(text));
    return time;
}

}  // namespace formstate
