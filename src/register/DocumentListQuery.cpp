#include "register/DocumentListQuery.h"

#include "common/SqlText.h"
#include "core/ProgramSettings.h"
#include "db/Connection.h"

#include <QHash>

namespace {

const QHash<QString, QString> &fixedLabels()
{
    static const QHash<QString, QString> labels = {
        {QStringLiteral("az1"), QStringLiteral("Főszám")},
        {QStringLiteral("az2"), QStringLiteral("Alszám")},
        {QStringLiteral("xtargy"), QStringLiteral("Tárgy")},
        {QStringLiteral("ugyf_kitol_nev"), QStringLiteral("Kitől")},
        {QStringLiteral("ugyf_kinek_nev"), QStringLiteral("Kinek")},
        {QStringLiteral("ugyf_intezkedesre_nev"), QStringLiteral("Intézkedésre")},
        {QStringLiteral("dat_erk"), QStringLiteral("Beérkezett")},
        {QStringLiteral("dat_hatid"), QStringLiteral("Határidő")},
        {QStringLiteral("dat_megorzes"), QStringLiteral("Megőrzés")},
        {QStringLiteral("dat_figy"), QStringLiteral("Figy.dátum")},
        {QStringLiteral("figy_szoveg"), QStringLiteral("Figyelmeztetés")},
        {QStringLiteral("csoport_nev"), QStringLiteral("Csoport")},
        {QStringLiteral("irany"), QStringLiteral("Irány")},
        {QStringLiteral("irany_nev"), QStringLiteral("Irány")},
        {QStringLiteral("filenev"), QStringLiteral("File név")},
        {QStringLiteral("filenev2"), QStringLiteral("File név 2.")},
        {QStringLiteral("filenev3"), QStringLiteral("File név 3")},
        {QStringLiteral("origfilenev"), QStringLiteral("Eredeti file név")},
        {QStringLiteral("origfilenev2"), QStringLiteral("Eredeti file név 2.")},
        {QStringLiteral("origfilenev3"), QStringLiteral("Eredeti file név 3.")},
        {QStringLiteral("kolcsonadva"), QStringLiteral("Kölcsönadva")},
        {QStringLiteral("kolcsonadva_dat"), QStringLiteral("Kölcs.dátum")},
        {QStringLiteral("kolcsonadva_kinek"), QStringLiteral("Kinek")},
        {QStringLiteral("statusz"), QStringLiteral("Státusz")},
        {QStringLiteral("kulcsszavak"), QStringLiteral("Kulcsszavak")},
        {QStringLiteral("megjegyzes"), QStringLiteral("Megjegyzés")},
        {QStringLiteral("foszamstr"), QStringLiteral("Főszám")},
        {QStringLiteral("iktatoaz"), QStringLiteral("Sorszám")},
    };
    return labels;
}

} // namespace

DocumentListQuery::DocumentListQuery()
    : m_lines{selectLine(), QStringLiteral("WHERE torolve = 'N'"), QStringLiteral("ORDER BY 1;")}
{
}

QString DocumentListQuery::selectLine()
{
    return QStringLiteral("SELECT ") + documentListColumns().join(QStringLiteral(", ")) +
           QStringLiteral(" FROM vw_iktato");
}

void DocumentListQuery::setCondition(const QString &condition)
{
    SetWhere(m_lines, condition);
}

void DocumentListQuery::setOrder(const QString &field)
{
    SetOrderBy(m_lines, field);
}

QString DocumentListQuery::documentSql(qint64 document) const
{
    // The condition is bracketed: it may join its parts with OR.
    const QString where = m_lines.value(1);
    const QString condition = where.mid(where.indexOf(QLatin1Char(' ')) + 1);
    return m_lines.value(0) + QStringLiteral("\nWHERE (") + condition + QStringLiteral(") AND iktato=") +
           QString::number(document) + QLatin1Char(';');
}

void DocumentListQuery::open(Connection &connection, Dataset &into, const ProgramSettings &settings) const
{
    connection.query(sql(), into);
    applyDocumentLabels(into, settings);
}

QString documentFieldLabel(QStringView field, const ProgramSettings &settings)
{
    if (const std::optional<QString> label = settings.columnLabel(field))
        return *label;
    return fixedLabels().value(field.toString().toLower());
}

void applyDocumentLabels(Dataset &data, const ProgramSettings &settings)
{
    for (Field &f : data.fields())
        f.label = documentFieldLabel(f.name, settings);
}

QStringList attachedFileQueryLines(qint64 document)
{
    QStringList lines{QStringLiteral("SELECT * FROM vw_iktato_file"), QStringLiteral("WHERE iktato=0"),
                      QStringLiteral("ORDER BY 1;")};
    SetWhere(lines, QStringLiteral("iktato=") + QString::number(document));
    return lines;
}
