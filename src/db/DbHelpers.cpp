#include "db/DbHelpers.h"

#include "common/SqlText.h"
#include "db/UnitOfWork.h"

Connection &db()
{
    Connection *c = Connection::current();
    if (!c)
        throw DbError(QStringLiteral("Nincs megnyitott adatbázis-kapcsolat"), 2006);
    return *c;
}

// A unit of work of its own, or part of the unit it is called in. On its own the
// statement commits by itself, as a routine does, so the insert id and the affected
// rows stay the statement's for the caller to read.
void ExecSql(const QString &sql)
{
    if (sql.trimmed().isEmpty())
        return;
    Connection &c = db();
    const QString statement = UnescapeLineBreaksOutsideLiterals(sql);
    RunUnit(c, [&] { c.exec(statement); }, UnitKind::Routine);
}

namespace {

QVariant firstValue(const QString &sql)
{
    return db().selectValue(sql);
}

} // namespace

int SelectInt(const QString &sql, int defaultValue)
{
    const Dataset d = db().query(sql);
    if (d.rowCount() == 0 || d.fieldCount() == 0 || d.isNull(0, 0))
        return defaultValue;
    return int(d.toInt(0, 0, defaultValue));
}

QString SelectText(const QString &sql, const QString &defaultValue)
{
    const Dataset d = db().query(sql);
    if (d.rowCount() == 0 || d.fieldCount() == 0 || d.isNull(0, 0))
        return defaultValue;
    return d.text(0, 0);
}

double SelectNumber(const QString &sql, double defaultValue)
{
    const Dataset d = db().query(sql);
    if (d.rowCount() == 0 || d.fieldCount() == 0 || d.isNull(0, 0))
        return defaultValue;
    return d.toDouble(0, 0, defaultValue);
}

int MaxId(const QString &column, const QString &table)
{
    const QString t = table.isEmpty() ? column : table;
    const QVariant v = firstValue(QStringLiteral("SELECT MAX(") + column +
                                  QStringLiteral(") AS maxid FROM ") + t + QStringLiteral(";"));
    return v.isValid() && !v.isNull() ? v.toInt() + 1 : 1;
}

QDate ServerDate()
{
    const QVariant v = firstValue(QStringLiteral("SELECT CURDATE();"));
    return v.toDate();
}

QString ServerMd5(const QString &text)
{
    return SelectText(QStringLiteral("SELECT MD5(") + SqlLiteral(text) + QStringLiteral(");"), QString());
}

QString NameLookup(qint64 key, const QString &table, const QString &defaultValue)
{
    return SelectText(QStringLiteral("SELECT ") + table + QStringLiteral("_nev FROM ") + table +
                          QStringLiteral(" WHERE ") + table + QLatin1Char('=') + QString::number(key) +
                          QLatin1Char(';'),
                      defaultValue);
}

void FillList(QStringList &list, const QString &sql)
{
    const Dataset d = db().query(sql);
    if (d.fieldCount() == 0)
        return;
    list.reserve(list.size() + d.rowCount());
    for (int r = 0; r < d.rowCount(); ++r)
        list.append(d.text(r, 0));
}

void CopyProcRow(const Dataset &procedure, EditRecord &record)
{
    const int row = procedure.current();
    for (EditField &f : record.fields()) {
        const int col = procedure.fieldIndex(f.name);
        if (col >= 0)
            f.value = row >= 0 ? procedure.value(row, col) : QVariant();
    }
}

QString RowCountText(const Dataset &data)
{
    int position = 0;
    if (data.current() >= 0) {
        const int n = data.visibleCount();
        for (int i = 0; i < n; ++i) {
            if (data.visibleRow(i) == data.current()) {
                position = i + 1;
                break;
            }
        }
    }
    return QString::number(data.visibleCount()) + QStringLiteral(": ") + QString::number(position);
}

void DatasetToLines(const Dataset &data, QStringList &lines, bool withHeader, bool withRowNumbers,
                    QChar delimiter, const QString &excludedFields)
{
    const QString excluded = QLatin1Char(';') + excludedFields + QLatin1Char(';');
    QList<int> cols;
    for (int c = 0; c < data.fieldCount(); ++c)
        if (!excluded.contains(QLatin1Char(';') + data.field(c).name + QLatin1Char(';')))
            cols.append(c);
    if (withHeader) {
        QString line;
        for (int c : cols)
            line += data.field(c).name + delimiter;
        lines.append(line);
    }
    const int n = data.visibleCount();
    for (int i = 0; i < n; ++i) {
        const int row = data.visibleRow(i);
        QString line;
        if (withRowNumbers)
            line += QString::number(i + 1) + delimiter;
        for (int c : cols)
            line += data.displayText(row, c).replace(QLatin1Char(';'), QLatin1Char(',')) + delimiter;
        lines.append(line);
    }
}
