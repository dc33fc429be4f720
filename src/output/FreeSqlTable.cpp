#include "output/FreeSqlTable.h"

#include "common/SqlText.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/DbHelpers.h"

#include <QHash>
#include <QSet>

namespace {

bool isTextKind(FieldType type)
{
    return type == FieldType::Text || type == FieldType::LongText;
}

// Floating values do not survive the trip to text and back exactly, so they never
// identify a row.
bool identifiesRow(FieldType type)
{
    return type != FieldType::Binary && type != FieldType::Float;
}

} // namespace

const QString FreeSqlTable::ChangedMeanwhile =
    QStringLiteral("A sort időközben valaki más módosította vagy törölte. Nyissa meg újra a táblát.");

void FreeSqlTable::open(Connection &connection, const QString &table)
{
    const QString quoted = QuotedIdentifier(table, true);
    Dataset rows = connection.query(QStringLiteral("SELECT * FROM ") + quoted + QLatin1Char(';'));
    // The primary key, else the first unique key whose columns never hold NULL.
    const Dataset keys = connection.query(QStringLiteral("SHOW KEYS FROM ") + quoted +
                                          QStringLiteral(" WHERE Non_unique = 0;"));
    const int keyName = keys.fieldIndex(u"Key_name");
    const int column = keys.fieldIndex(u"Column_name");
    const int nullable = keys.fieldIndex(u"Null");
    QStringList order;
    QHash<QString, QStringList> columnsOf;
    QSet<QString> withNull;
    for (int r = 0; keyName >= 0 && column >= 0 && r < keys.rowCount(); ++r) {
        const QString name = keys.text(r, keyName);
        if (!columnsOf.contains(name))
            order << name;
        columnsOf[name] << keys.text(r, column);
        if (nullable >= 0 && !keys.text(r, nullable).trimmed().isEmpty())
            withNull.insert(name);
    }
    QStringList keyColumns;
    if (columnsOf.contains(QStringLiteral("PRIMARY"))) {
        keyColumns = columnsOf.value(QStringLiteral("PRIMARY"));
    } else {
        for (const QString &name : order)
            if (!withNull.contains(name)) {
                keyColumns = columnsOf.value(name);
                break;
            }
    }

    m_connection = &connection;
    m_table = table.trimmed();
    m_quotedTable = quoted;
    m_keys = keyColumns;
    m_data = std::move(rows);
    m_data.setCurrent(m_data.isEmpty() ? -1 : 0);
    m_pending = -1;
}

void FreeSqlTable::close()
{
    m_connection = nullptr;
    m_table.clear();
    m_quotedTable.clear();
    m_keys.clear();
    m_data.reset();
    m_pending = -1;
}

bool FreeSqlTable::isEditable(int column) const
{
    return column >= 0 && column < m_data.fieldCount() && m_data.field(column).type != FieldType::Binary;
}

QString FreeSqlTable::valueLiteral(int column, const QString &text) const
{
    if (text.isEmpty() && !isTextKind(m_data.field(column).type))
        return QStringLiteral("NULL");
    // The server turns the quoted text into the column's type, and refuses what does not fit.
    return SqlLiteral(text);
}

QString FreeSqlTable::rowCondition(int row) const
{
    return rowAsRead(row) + (m_keys.isEmpty() ? QStringLiteral(" LIMIT 1") : QString());
}

// The row as it was read: its key and every column that compares exactly, so a row
// that another workstation changed meanwhile no longer matches.
QString FreeSqlTable::rowAsRead(int row) const
{
    QStringList parts;
    auto compare = [&](int column) {
        const QString name = QuotedIdentifier(m_data.field(column).name);
        if (m_data.isNull(row, column))
            parts << name + QStringLiteral(" IS NULL");
        else
            parts << name + QLatin1Char('=') + SqlLiteral(m_data.text(row, column));
    };
    QList<int> keyIndexes;
    for (const QString &key : m_keys) {
        keyIndexes << m_data.requireField(key);
        compare(keyIndexes.last());
    }
    for (int c = 0; c < m_data.fieldCount(); ++c)
        if (!keyIndexes.contains(c) && identifiesRow(m_data.field(c).type))
            compare(c);
    return parts.join(QStringLiteral(" AND "));
}

int FreeSqlTable::matchingRows(int row) const
{
    return int(m_connection
                   ->selectValue(QStringLiteral("SELECT COUNT(*) FROM ") + m_quotedTable + QStringLiteral(" WHERE ") +
                                 rowAsRead(row))
                   .toLongLong());
}

void FreeSqlTable::checkIdentified(int row) const
{
    // Without a unique key a row is found by its values: one that has a twin cannot be told apart.
    if (!m_keys.isEmpty())
        return;
    const int matching = matchingRows(row);
    if (matching == 0)
        throw KorvenaError(ChangedMeanwhile);
    if (matching > 1)
        throw KorvenaError(QStringLiteral("A sor nem azonosítható egyértelműen: a táblának nincs egyedi kulcsa, "
                                          "és %1 egyforma sor van benne. A sort itt nem módosítom.")
                               .arg(matching));
}

void FreeSqlTable::writeRow(int row, const QString &statement)
{
    checkIdentified(row);
    m_connection->exec(statement);
    // No row changed: either the row changed meanwhile (it no longer matches as read),
    // or the server found the new value equal to the old one.
    if (m_connection->affectedRows() == 0 && matchingRows(row) == 0)
        throw KorvenaError(ChangedMeanwhile);
}

QString FreeSqlTable::updateStatement(int row, int column, const QString &text) const
{
    return QStringLiteral("UPDATE ") + m_quotedTable + QStringLiteral(" SET ") +
           QuotedIdentifier(m_data.field(column).name) + QLatin1Char('=') + valueLiteral(column, text) +
           QStringLiteral(" WHERE ") + rowCondition(row) + QLatin1Char(';');
}

QString FreeSqlTable::deleteStatement(int row) const
{
    return QStringLiteral("DELETE FROM ") + m_quotedTable + QStringLiteral(" WHERE ") + rowCondition(row) +
           QLatin1Char(';');
}

void FreeSqlTable::setCell(int row, int column, const QString &text)
{
    if (!m_connection || row < 0 || row >= m_data.rowCount() || !isEditable(column))
        return;
    const QVariant value =
        text.isEmpty() && !isTextKind(m_data.field(column).type) ? QVariant() : QVariant(text);
    if (row != m_pending) {
        writeRow(row, updateStatement(row, column, text));
        m_data.setValue(row, column, value);
        return;
    }
    m_connection->exec(QStringLiteral("INSERT INTO ") + m_quotedTable + QStringLiteral(" (") +
                       QuotedIdentifier(m_data.field(column).name) + QStringLiteral(") VALUES (") +
                       valueLiteral(column, text) + QStringLiteral(");"));
    m_pending = -1;
    m_data.setValue(row, column, value);
    if (m_keys.size() == 1) {
        const int key = m_data.requireField(m_keys.first());
        if (m_data.isNull(row, key) && m_connection->lastInsertId() > 0)
            m_data.setValue(row, key, QVariant(qulonglong(m_connection->lastInsertId())));
    }
    reread(row);
}

// The server filled the columns the new row was not given; show what it holds.
void FreeSqlTable::reread(int row)
{
    if (m_keys.isEmpty())
        return;
    for (const QString &key : m_keys)
        if (m_data.isNull(row, m_data.requireField(key)))
            return;
    // By the key alone: the columns the server filled are not known yet.
    QStringList key;
    for (const QString &name : m_keys)
        key << QuotedIdentifier(name) + QLatin1Char('=') + SqlLiteral(m_data.text(row, m_data.requireField(name)));
    const Dataset fresh =
        m_connection->query(QStringLiteral("SELECT * FROM ") + m_quotedTable + QStringLiteral(" WHERE ") +
                            key.join(QStringLiteral(" AND ")) + QLatin1Char(';'));
    if (fresh.rowCount() != 1 || fresh.fieldCount() != m_data.fieldCount())
        return;
    for (int c = 0; c < fresh.fieldCount(); ++c)
        m_data.setValue(row, c, fresh.isNull(0, c) ? QVariant() : QVariant(fresh.raw(0, c).toByteArray()));
}

int FreeSqlTable::appendRow()
{
    if (m_pending >= 0)
        return m_pending;
    m_data.appendRow({});
    m_pending = m_data.rowCount() - 1;
    return m_pending;
}

void FreeSqlTable::removeRow(int row)
{
    if (!m_connection || row < 0 || row >= m_data.rowCount())
        return;
    if (row != m_pending)
        writeRow(row, deleteStatement(row));
    dropRow(row);
}

void FreeSqlTable::dropRow(int row)
{
    Dataset rest(m_data.fields());
    for (int r = 0; r < m_data.rowCount(); ++r) {
        if (r == row)
            continue;
        rest.beginRow();
        for (int c = 0; c < m_data.fieldCount(); ++c) {
            if (m_data.isNull(r, c)) {
                rest.appendCell(nullptr, 0);
            } else {
                // An empty text must not pass a null pointer, which means NULL.
                const QByteArrayView bytes = m_data.raw(r, c);
                rest.appendCell(bytes.isEmpty() ? "" : bytes.data(), bytes.size());
            }
        }
        rest.endRow();
    }
    const int current = m_data.current();
    m_data = std::move(rest);
    m_data.setCurrent(qMin(current, m_data.rowCount() - 1));
    if (m_pending == row)
        m_pending = -1;
    else if (m_pending > row)
        --m_pending;
}

int NextMatchingRow(const Dataset &data, int fromRow, const QString &text)
{
    if (text.isEmpty())
        return -1;
    for (int i = qMax(fromRow, 0); i < data.visibleCount(); ++i) {
        const int row = data.visibleRow(i);
        for (int c = 0; c < data.fieldCount(); ++c)
            if (data.displayText(row, c).contains(text, Qt::CaseInsensitive))
                return i;
    }
    return -1;
}

QString ResultClipboardText(const Dataset &data)
{
    QStringList lines;
    DatasetToLines(data, lines, true, false, QLatin1Char('\t'), QString());
    return lines.join(QStringLiteral("\r\n"));
}
