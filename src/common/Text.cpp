#include "common/Text.h"

#include "common/Encoding.h"
#include "common/Numbers.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QTime>
#include <cmath>

QString VarToText(const QVariant &value, const QString &def)
{
    if (IsNullValue(value))
        return def;
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberText(value.toDouble(), systemDecimalSeparator());
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::QByteArray:
        return FromCp1250(value.toByteArray());
    default:
        return value.toString();
    }
}

namespace {

bool isIntegerType(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// Text from the server is in C notation; typed text may use the system's mark.
bool parseNumber(const QString &text, double &out)
{
    const QString t = text.trimmed();
    bool ok = false;
    out = QLocale::c().toDouble(t, &ok);
    if (!ok)
        out = QLocale::system().toDouble(t, &ok);
    return ok;
}

} // namespace

int VarToInt(const QVariant &value, int def)
{
    if (IsNullValue(value))
        return def;
    const int id = value.metaType().id();
    if (isIntegerType(id) || id == QMetaType::Bool) {
        bool ok = false;
        const qlonglong v = value.toLongLong(&ok);
        return ok ? int(v) : def;
    }
    double d = 0;
    if (id == QMetaType::Double || id == QMetaType::Float) {
        d = value.toDouble();
    } else if (id == QMetaType::QString || id == QMetaType::QByteArray) {
        const QString text = VarToText(value).trimmed();
        bool ok = false;
        const int v = text.toInt(&ok);
        if (ok)
            return v;
        if (!parseNumber(text, d))
            return def;
    } else {
        return def;
    }
    if (!std::isfinite(d) || d > 2147483647.0 || d < -2147483648.0)
        return def;
    return int(std::nearbyint(d));
}

double VarToNumber(const QVariant &value, double def)
{
    if (IsNullValue(value))
        return def;
    const int id = value.metaType().id();
    if (isIntegerType(id) || id == QMetaType::Double || id == QMetaType::Float || id == QMetaType::Bool)
        return value.toDouble();
    if (id == QMetaType::QString || id == QMetaType::QByteArray) {
        double d = 0;
        return parseNumber(VarToText(value), d) ? d : def;
    }
    return def;
}

QDate VarToDate(const QVariant &value, const QDate &def)
{
    if (IsNullValue(value))
        return def;
    QDate d;
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        d = value.toDate();
        break;
    case QMetaType::QDateTime:
        d = value.toDateTime().date();
        break;
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString t = VarToText(value).trimmed();
        d = QDate::fromString(t.left(10), Qt::ISODate);
        if (!d.isValid())
            d = QDate::fromString(t.left(10), QStringLiteral("yyyy.MM.dd"));
        break;
    }
    default:
        break;
    }
    return d.isValid() ? d : def;
}

QString FixedWidth(const QVariant &value, int n)
{
    if (n <= 0)
        return QString();
    return VarToText(value).leftJustified(n, QLatin1Char(' '), true);
}

QString Token(const QString &delimiters, const QString &text, int n)
{
    if (n <= 0)
        return QString();
    int index = 1;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || delimiters.contains(text.at(i))) {
            if (index == n)
                return text.mid(start, i - start).trimmed();
            ++index;
            start = i + 1;
        }
    }
    return QString();
}

QString ReplaceChar(const QVariant &value, QChar a, QChar b)
{
    if (IsNullValue(value))
        return QString();
    QString t = VarToText(value);
    t.replace(a, b);
    return t;
}

QString RemoveBlanks(const QString &text)
{
    QString t = text;
    t.remove(QLatin1Char(' '));
    return t;
}

QString RemoveChars(const QString &set, const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!set.contains(c))
            out.append(c);
    }
    return out;
}

QString LeftText(const QString &text, int n)
{
    return n <= 0 ? QString() : text.left(n);
}

QString RightText(const QString &text, int n)
{
    return n <= 0 ? QString() : text.right(n);
}

QString PadNumber(qint64 number, int width, QChar c)
{
    QString t = QString::number(number);
    if (t.size() < width)
        t.prepend(QString(width - t.size(), c));
    return t;
}

QString SafeFileName(const QString &text)
{
    static const QString dashed = QStringLiteral(" !\"#%&'*+/:?@\\");
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (dashed.contains(c)) {
            out.append(QLatin1Char('-'));
            continue;
        }
        const int code = Cp1250Code(c);
        if (code < 0 || code >= 129) {
            out.append(QLatin1Char('_'));
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            continue;
        }
        out.append(c);
    }
    return out.toLower();
}

QString ProgramFolder()
{
    QString folder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    folder = QDir::toNativeSeparators(folder);
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
#ifdef Q_OS_WIN
    folder = folder.toLower();
#endif
    return folder;
}

QString LiteralAmpersands(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
