#include "output/report/ReportData.h"

#include "common/SqlText.h"
#include "common/Text.h"
#include "core/Session.h"
#include "db/Connection.h"
#include "db/UnitOfWork.h"
#include "register/DocumentListQuery.h"
#include "register/Marking.h"

namespace ReportData {

namespace {

// The row set with text columns computed from each row added at its end.
Dataset withComputed(const Dataset &source, const QStringList &names,
                     const std::function<QStringList(const Dataset &, int)> &compute)
{
    QList<Field> fields = source.fields();
    for (const QString &name : names) {
        Field f;
        f.name = name;
        f.type = FieldType::Text;
        f.size = name == QLatin1String("varoscim") ? 100 : 50;
        fields.append(f);
    }
    Dataset out(fields);
    out.reserve(source.rowCount(), 0);
    for (int row = 0; row < source.rowCount(); ++row) {
        out.beginRow();
        for (int col = 0; col < source.fieldCount(); ++col) {
            if (source.isNull(row, col)) {
                out.appendCell(nullptr, 0);
            } else {
                const QByteArrayView raw = source.raw(row, col);
                out.appendCell(raw.data(), raw.size());
            }
        }
        for (const QString &value : compute(source, row)) {
            const QByteArray bytes = Dataset::sqlTextOf(value);
            out.appendCell(bytes.constData(), bytes.size());
        }
        out.endRow();
    }
    if (!out.isEmpty())
        out.first();
    return out;
}

} // namespace

Dataset letterhead(Connection &connection)
{
    Dataset rows = connection.query(QStringLiteral("SELECT * FROM vw_tulajdonos;"));
    rows.first();
    return rows;
}

QString periodSql(QStringList listLines, int direction, const QDate &from, const QDate &to)
{
    QString condition;
    if (direction >= 0 && direction <= 2)
        condition = QStringLiteral(" AND (irany = ") + QString::number(direction) + QLatin1Char(')');
    condition += QStringLiteral(" AND (dat_erk BETWEEN ") + SqlDate(from) + QStringLiteral(" AND ") +
                 SqlDate(to) + QLatin1Char(')');
    return AppendToWhere(listLines, condition);
}

Dataset documents(Connection &connection, const QString &sql)
{
    Dataset rows = connection.query(sql);
    applyDocumentLabels(rows, session().settings);
    rows.first();
    return rows;
}

void keepMarkedOnly(Dataset &rows)
{
    const int col = rows.fieldIndex(u"nyomtatni");
    rows.setFilter(
        [col](const Dataset &d, int row) { return col >= 0 && Marking::isMarked(d.raw(row, col)); });
}

QString directionName(int direction)
{
    return direction == 0 ? QStringLiteral("Bejövő") : QStringLiteral("Kimenő");
}

QString lentOutIdentifier(qint64 document, qint64 mainNumber, qint64 subNumber, const QDate &arrival)
{
    // A missing date counts as the zero date, whose year is 1899.
    const int year = arrival.isValid() ? arrival.year() : 1899;
    auto digits = [](qint64 n, int width) {
        return QString::number(n).rightJustified(width, QLatin1Char('0'));
    };
    return digits(document, 4) + QLatin1Char('/') + digits(mainNumber, 2) + QLatin1Char('/') +
           digits(subNumber, 2) + QLatin1Char('/') + digits(year, 2);
}

Dataset lentOut(Connection &connection, qint64 user)
{
    const Dataset raw = connection.call(QStringLiteral("sp_kiadott"), {QVariant(user)});
    const int key = raw.requireField(u"iktato");
    const int az1 = raw.requireField(u"az1");
    const int az2 = raw.requireField(u"az2");
    const int arrival = raw.requireField(u"dat_erk");
    const int direction = raw.requireField(u"irany");
    return withComputed(raw, {QStringLiteral("iktatoaz"), QStringLiteral("irany_nev")},
                        [=](const Dataset &d, int row) {
                            return QStringList{lentOutIdentifier(d.toInt(row, key), d.toInt(row, az1),
                                                                 d.toInt(row, az2), d.toDate(row, arrival)),
                                               directionName(int(d.toInt(row, direction)))};
                        });
}

Dataset folderCover(Connection &connection, qint64 document)
{
    QStringList lines{QStringLiteral("SELECT * FROM vw_iktato"), QStringLiteral("WHERE iktato=0"),
                      QStringLiteral("ORDER BY 1;")};
    return documents(connection, SetWhere(lines, QStringLiteral("iktato=") + SqlInt(document)));
}

Dataset addressee(Connection &connection, int client)
{
    Dataset rows = connection.call(QStringLiteral("sp_boritek"), {QVariant(client)});
    rows.first();
    return rows;
}

Dataset sender(Connection &connection)
{
    const Dataset raw = connection.query(QStringLiteral("SELECT * FROM tulajdonos;"));
    const int town = raw.requireField(u"varos");
    const int street = raw.requireField(u"cim");
    return withComputed(raw, {QStringLiteral("varoscim")}, [=](const Dataset &d, int row) {
        return QStringList{d.text(row, town) + QStringLiteral(", ") + d.text(row, street)};
    });
}

Dataset labels(Connection &connection)
{
    Dataset rows =
        connection.query(QStringLiteral("SELECT azon, vkod, vkod_nev FROM vkod ORDER BY azon, vkod_azon;"));
    rows.first();
    return rows;
}

QString labelCode(qint64 document)
{
    return QString::number(document).rightJustified(7, QLatin1Char('0'));
}

namespace {

QString labelRow(int position, const QString &code, const QString &name)
{
    // The identifier column may be longer than the label's name column (foszamstr
    // holds 53); the label prints what fits rather than the server refusing it.
    return QStringLiteral("INSERT INTO vkod (azon, vkod, vkod_nev) VALUES (") + SqlInt(position) +
           QLatin1Char(',') + SqlLiteral(code) + QLatin1Char(',') +
           SqlLiteral(LeftText(name, LabelNameWidth)) + QStringLiteral(");");
}

} // namespace

void fillLabelSheet(Connection &connection, qint64 document, const QString &name, int position)
{
    // One statement for the whole sheet: the empty labels only move the real one to its place.
    QString sql;
    if (position >= 1) {
        sql = QStringLiteral("INSERT INTO vkod (azon, vkod, vkod_nev) VALUES ");
        for (int i = 1; i < position; ++i)
            sql += QLatin1Char('(') + SqlInt(i) + QStringLiteral(",'',''),");
        sql += QLatin1Char('(') + SqlInt(position) + QLatin1Char(',') + SqlLiteral(labelCode(document)) +
               QLatin1Char(',') + SqlLiteral(LeftText(name, LabelNameWidth)) + QStringLiteral(");");
    }
    // Emptied and filled as one unit: no other print sees the sheet half made.
    RunUnit(connection, [&] {
        connection.exec(QStringLiteral("DELETE FROM vkod;"));
        if (!sql.isEmpty())
            connection.exec(sql);
    });
}

void fillDocumentLabel(Connection &connection, qint64 document, const QString &name)
{
    RunUnit(connection, [&] {
        connection.exec(QStringLiteral("DELETE FROM vkod;"));
        connection.exec(labelRow(1, labelCode(document), name));
    });
}

} // namespace ReportData
