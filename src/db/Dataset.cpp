#include "db/Dataset.h"

#include "db/DbError.h"
#include "db/Latin2.h"

#include <charconv>

namespace {

bool parseInt(QByteArrayView b, qint64 &out)
{
    const char *first = b.data();
    const char *last = first + b.size();
    while (first < last && *first == ' ')
        ++first;
    if (first < last && *first == '+')
        ++first;
    auto r = std::from_chars(first, last, out);
    if (r.ec == std::errc() && r.ptr == last)
        return true;
    // DECIMAL or floating text read as an integer: take the whole part.
    double d = 0;
    auto rd = std::from_chars(first, last, d);
    if (rd.ec == std::errc() && rd.ptr == last && d > -9.2e18 && d < 9.2e18) {
        out = qint64(d);
        return true;
    }
    return false;
}

bool parseDouble(QByteArrayView b, double &out)
{
    const char *first = b.data();
    const char *last = first + b.size();
    while (first < last && *first == ' ')
        ++first;
    if (first < last && *first == '+')
        ++first;
    auto r = std::from_chars(first, last, out);
    return r.ec == std::errc() && r.ptr == last;
}

int digits(const char *p, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return -1;
        v = v * 10 + (p[i] - '0');
    }
    return v;
}

QDate parseDate(QByteArrayView b)
{
    if (b.size() < 10 || b[4] != '-' || b[7] != '-')
        return {};
    const int y = digits(b.data(), 4), m = digits(b.data() + 5, 2), d = digits(b.data() + 8, 2);
    if (y <= 0 || m <= 0 || d <= 0)
        return {};
    return QDate(y, m, d);
}

QTime parseTime(QByteArrayView b)
{
    if (b.size() < 8 || b[2] != ':' || b[5] != ':')
        return {};
    const int h = digits(b.data(), 2), m = digits(b.data() + 3, 2), s = digits(b.data() + 6, 2);
    if (h < 0 || m < 0 || s < 0)
        return {};
    int ms = 0;
    if (b.size() >= 12 && b[8] == '.')
        ms = qMax(0, digits(b.data() + 9, 3));
    return QTime(h, m, s, ms);
}

bool isAllZeros(const QString &format)
{
    if (format.isEmpty())
        return false;
    for (QChar c : format)
        if (c != QLatin1Char('0'))
            return false;
    return true;
}

} // namespace

Dataset::Dataset(QList<Field> fields) : m_fields(std::move(fields)) {}

int Dataset::fieldIndex(QStringView name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Dataset::requireField(QStringView name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw KorvenaError(QStringLiteral("Nincs ilyen mező: ") + name.toString());
    return i;
}

void Dataset::clear()
{
    m_data = QByteArray();
    std::vector<quint32>().swap(m_ends);
    m_overrides.clear();
    m_rowCount = 0;
    m_current = -1;
    m_visible.clear();
}

void Dataset::reset()
{
    clear();
    m_fields.clear();
    m_filter = nullptr;
}

void Dataset::reserve(qsizetype rows, qsizetype bytes)
{
    m_ends.reserve(size_t(rows) * size_t(qMax(1, fieldCount())));
    m_data.reserve(bytes);
}

void Dataset::squeeze()
{
    m_data.squeeze();
    m_ends.shrink_to_fit();
}

void Dataset::beginRow() {}

void Dataset::appendCell(const char *data, qsizetype length)
{
    if (data)
        m_data.append(data, length);
    if (quint64(m_data.size()) >= NullBit)
        throw KorvenaError(QStringLiteral("Az eredmény túl nagy a memóriában tartáshoz."));
    m_ends.push_back(quint32(m_data.size()) | (data ? 0u : NullBit));
}

void Dataset::endRow()
{
    ++m_rowCount;
    Q_ASSERT(m_ends.size() == size_t(m_rowCount) * size_t(fieldCount()));
    if (m_filter && m_filter(*this, m_rowCount - 1))
        m_visible.push_back(m_rowCount - 1);
}

void Dataset::appendRows(const Dataset &from)
{
    if (from.m_rowCount == 0)
        return;
    Q_ASSERT(from.fieldCount() == fieldCount());
    const quint64 base = quint64(m_data.size());
    if (base + quint64(from.m_data.size()) >= NullBit)
        throw KorvenaError(QStringLiteral("Az eredmény túl nagy a memóriában tartáshoz."));
    m_data.append(from.m_data);
    // The offsets stay below the NULL bit, so adding the base leaves that bit alone.
    for (const quint32 end : from.m_ends)
        m_ends.push_back(end + quint32(base));
    const int first = m_rowCount;
    m_rowCount += from.m_rowCount;
    if (m_filter)
        for (int r = first; r < m_rowCount; ++r)
            if (m_filter(*this, r))
                m_visible.push_back(r);
}

QByteArray Dataset::sqlTextOf(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm:ss")).toLatin1();
    case QMetaType::Bool:
        return v.toBool() ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(v.toDouble(), 'g', 15);
    case QMetaType::QByteArray:
        return v.toByteArray();
    case QMetaType::QString:
        return Latin2::encode(v.toString());
    default:
        return Latin2::encode(v.toString());
    }
}

void Dataset::appendRow(const QVariantList &values)
{
    beginRow();
    for (int i = 0; i < fieldCount(); ++i) {
        const QVariant v = i < values.size() ? values[i] : QVariant();
        if (!v.isValid() || v.isNull()) {
            appendCell(nullptr, 0);
        } else {
            const QByteArray b = sqlTextOf(v);
            appendCell(b.constData(), b.size());
        }
    }
    endRow();
}

bool Dataset::isNull(int row, int col) const
{
    const qsizetype cell = qsizetype(row) * fieldCount() + col;
    if (!m_overrides.isEmpty()) {
        auto it = m_overrides.constFind(cell);
        if (it != m_overrides.cend())
            return it->null;
    }
    return m_ends[size_t(cell)] & NullBit;
}

QByteArrayView Dataset::raw(int row, int col) const
{
    const qsizetype cell = qsizetype(row) * fieldCount() + col;
    if (!m_overrides.isEmpty()) {
        auto it = m_overrides.constFind(cell);
        if (it != m_overrides.cend())
            return it->null ? QByteArrayView() : QByteArrayView(it->bytes);
    }
    const quint32 start = cellStart(cell);
    return QByteArrayView(m_data.constData() + start, cellEnd(cell) - start);
}

QString Dataset::text(int row, int col) const
{
    const QByteArrayView b = raw(row, col);
    switch (m_fields[col].type) {
    case FieldType::Text:
    case FieldType::LongText:
        return Latin2::decode(b);
    default:
        return QString::fromLatin1(b);
    }
}

qint64 Dataset::toInt(int row, int col, qint64 defaultValue) const
{
    if (isNull(row, col))
        return defaultValue;
    qint64 v = 0;
    return parseInt(raw(row, col), v) ? v : defaultValue;
}

double Dataset::toDouble(int row, int col, double defaultValue) const
{
    if (isNull(row, col))
        return defaultValue;
    double v = 0;
    return parseDouble(raw(row, col), v) ? v : defaultValue;
}

QDate Dataset::toDate(int row, int col) const
{
    return isNull(row, col) ? QDate() : parseDate(raw(row, col));
}

QDateTime Dataset::toDateTime(int row, int col) const
{
    if (isNull(row, col))
        return {};
    const QByteArrayView b = raw(row, col);
    const QDate d = parseDate(b);
    if (!d.isValid())
        return {};
    const QTime t = b.size() > 11 ? parseTime(b.sliced(11)) : QTime(0, 0);
    return QDateTime(d, t.isValid() ? t : QTime(0, 0));
}

QVariant Dataset::value(int row, int col) const
{
    if (isNull(row, col))
        return {};
    switch (m_fields[col].type) {
    case FieldType::Integer:
        return int(toInt(row, col));
    case FieldType::BigInt:
        return toInt(row, col);
    case FieldType::Float:
    case FieldType::Decimal:
        return toDouble(row, col);
    case FieldType::Date: {
        const QDate d = toDate(row, col);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::DateTime: {
        const QDateTime d = toDateTime(row, col);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Time:
        return parseTime(raw(row, col));
    case FieldType::Binary:
        return raw(row, col).toByteArray();
    case FieldType::Text:
    case FieldType::LongText:
        return text(row, col);
    }
    return {};
}

QString Dataset::displayText(int row, int col) const
{
    if (isNull(row, col))
        return {};
    const Field &f = m_fields[col];
    switch (f.type) {
    case FieldType::Integer:
    case FieldType::BigInt:
        if (isAllZeros(f.displayFormat)) {
            const qint64 v = toInt(row, col);
            const QString s = QString::number(qAbs(v));
            return (v < 0 ? QStringLiteral("-") : QString()) +
                   s.rightJustified(f.displayFormat.size(), QLatin1Char('0'));
        }
        return text(row, col);
    case FieldType::Date: {
        const QDate d = toDate(row, col);
        return d.isValid() ? d.toString(f.displayFormat.isEmpty() ? QStringLiteral("yyyy.MM.dd") : f.displayFormat)
                           : QString();
    }
    case FieldType::DateTime: {
        const QDateTime d = toDateTime(row, col);
        return d.isValid() ? d.toString(f.displayFormat.isEmpty() ? QStringLiteral("yyyy.MM.dd HH:mm:ss")
                                                                  : f.displayFormat)
                           : QString();
    }
    case FieldType::Binary:
        return QStringLiteral("(bináris)");
    default:
        return text(row, col);
    }
}

void Dataset::setValue(int row, int col, const QVariant &value)
{
    const qsizetype cell = qsizetype(row) * fieldCount() + col;
    if (!value.isValid() || value.isNull())
        m_overrides.insert(cell, Override{});
    else
        m_overrides.insert(cell, Override{false, sqlTextOf(value)});
}

void Dataset::setCurrent(int row)
{
    m_current = (row >= 0 && row < m_rowCount) ? row : -1;
}

bool Dataset::first()
{
    setCurrent(visibleCount() > 0 ? visibleRow(0) : -1);
    return m_current >= 0;
}

bool Dataset::next()
{
    if (m_current < 0)
        return false;
    if (!m_filter) {
        setCurrent(m_current + 1 < m_rowCount ? m_current + 1 : -1);
        return m_current >= 0;
    }
    auto it = std::upper_bound(m_visible.begin(), m_visible.end(), m_current);
    setCurrent(it == m_visible.end() ? -1 : *it);
    return m_current >= 0;
}

bool Dataset::locate(QStringView fieldName, QStringView prefix)
{
    const int col = fieldIndex(fieldName);
    if (col < 0)
        return false;
    const int n = visibleCount();
    for (int i = 0; i < n; ++i) {
        const int row = visibleRow(i);
        if (text(row, col).startsWith(prefix, Qt::CaseInsensitive)) {
            m_current = row;
            return true;
        }
    }
    return false;
}

bool Dataset::locateValue(QStringView fieldName, const QVariant &value)
{
    const int col = fieldIndex(fieldName);
    if (col < 0)
        return false;
    const QByteArray wanted = sqlTextOf(value);
    const int n = visibleCount();
    for (int i = 0; i < n; ++i) {
        const int row = visibleRow(i);
        if (!isNull(row, col) && raw(row, col) == wanted) {
            m_current = row;
            return true;
        }
    }
    return false;
}

void Dataset::setFilter(std::function<bool(const Dataset &, int)> predicate)
{
    m_filter = std::move(predicate);
    applyFilter();
}

void Dataset::clearFilter()
{
    m_filter = nullptr;
    m_visible.clear();
}

void Dataset::applyFilter()
{
    m_visible.clear();
    if (!m_filter)
        return;
    for (int r = 0; r < m_rowCount; ++r)
        if (m_filter(*this, r))
            m_visible.push_back(r);
    if (m_current >= 0 && !std::binary_search(m_visible.begin(), m_visible.end(), m_current))
        m_current = m_visible.empty() ? -1 : m_visible.front();
}

qsizetype Dataset::memoryBytes() const
{
    return m_data.capacity() + qsizetype(m_ends.capacity() * sizeof(quint32)) +
           qsizetype(m_visible.capacity() * sizeof(int));
}
