#include "common/Numbers.h"

#include <QLocale>
#include <cmath>
#include <cstdio>

namespace {
QChar decimalSeparatorOverride;
}

QChar systemDecimalSeparator()
{
    if (!decimalSeparatorOverride.isNull())
        return decimalSeparatorOverride;
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 ? point.at(0) : QLatin1Char('.');
}

void setSystemDecimalSeparator(QChar separator)
{
    decimalSeparatorOverride = separator;
}

QString NumericFilter(const QString &text)
{
    const QString t = text.trimmed();
    QString out;
    out.reserve(t.size());
    bool haveMark = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            out.append(c);
        } else if (c == QLatin1Char('-')) {
            if (i == 0)
                out.append(c);
        } else if (c == QLatin1Char(',') || c == QLatin1Char('.')) {
            if (!haveMark)
                out.append(c);
            haveMark = true;
        }
    }
    return out;
}

int TextToInt(const QString &text)
{
    bool ok = false;
    const int value = NumericFilter(text).trimmed().toInt(&ok);
    return ok ? value : 0;
}

QString KeepNumberChars(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(',') ||
            c == QLatin1Char('-') || c == QLatin1Char('.'))
            out.append(c);
    }
    return out;
}

double TextToNumber(const QString &text, double defaultValue)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return defaultValue;
    QString t = KeepNumberChars(trimmed);
    const QChar sep = systemDecimalSeparator();
    if (sep == QLatin1Char('.'))
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    else
        t.replace(QLatin1Char('.'), sep);

    // Parse in the separator's terms: only it may stand between the digits.
    if (sep != QLatin1Char('.'))
        t.replace(sep, QLatin1Char('.'));
    if (t.isEmpty() || t.contains(QLatin1Char(',')))
        return defaultValue;
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    return ok ? value : defaultValue;
}

QString NumberText(double number, QChar separator)
{
    if (std::isnan(number))
        return QStringLiteral("NAN");
    if (std::isinf(number))
        return number < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (number == 0)
        return QStringLiteral("0");

    // Fifteen significant digits, then the shortest form of them.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", number);
    QByteArray s(buf);
    const bool negative = s.startsWith('-');
    if (negative)
        s.remove(0, 1);
    const qsizetype e = s.indexOf('e');
    const int exponent = s.mid(e + 1).toInt();
    QByteArray digits = s.left(e);
    digits.remove(1, 1); // the point after the first digit
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);

    const char mark = separator == QLatin1Char('.') ? '.' : ',';
    QByteArray out;
    if (negative)
        out.append('-');
    if (exponent >= 15 || exponent < -4) {
        out.append(digits.at(0));
        if (digits.size() > 1) {
            out.append(mark);
            out.append(digits.mid(1));
        }
        out.append('E');
        out.append(QByteArray::number(exponent));
    } else if (exponent < 0) {
        out.append('0');
        out.append(mark);
        out.append(QByteArray(-exponent - 1, '0'));
        out.append(digits);
    } else {
        const qsizetype intDigits = exponent + 1;
        if (digits.size() <= intDigits) {
            out.append(digits);
            out.append(QByteArray(intDigits - digits.size(), '0'));
        } else {
            out.append(digits.left(intDigits));
            out.append(mark);
            out.append(digits.mid(intDigits));
        }
    }
    return QString::fromLatin1(out);
}
