#include "register/Trail.h"

#include "common/SqlText.h"
#include "db/Dataset.h"
#include "db/DbHelpers.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Trail {

namespace {

QString valueText(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return QString();
    case QJsonValue::String:
        return v.toString();
    case QJsonValue::Double:
        return v.toVariant().toString();
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return QString::fromUtf8(v.isArray() ? QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact)
                                             : QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    }
}

} // namespace

QString query(qint64 document)
{
    return QStringLiteral("SELECT n.sorszam, n.ido, n.fiok, n.felhkod, f.felhasznalo_nev, n.muvelet, n.tabla, "
                          "n.valtozas FROM iktato_nyom n LEFT JOIN felhasznalo f ON (n.felhkod=f.felhkod) "
                          "WHERE n.iktato=") +
           SqlInt(document) + QStringLiteral(" ORDER BY n.sorszam;");
}

QList<Entry> load(qint64 document)
{
    const Dataset d = db().query(query(document));
    const int number = d.fieldIndex(u"sorszam"), when = d.fieldIndex(u"ido"), account = d.fieldIndex(u"fiok"),
              code = d.fieldIndex(u"felhkod"), name = d.fieldIndex(u"felhasznalo_nev"),
              action = d.fieldIndex(u"muvelet"), table = d.fieldIndex(u"tabla"), change = d.fieldIndex(u"valtozas");
    QList<Entry> entries;
    entries.reserve(d.rowCount());
    for (int r = 0; r < d.rowCount(); ++r) {
        Entry e;
        e.number = d.value(r, number).toLongLong();
        const QDateTime time = d.value(r, when).toDateTime();
        e.when = time.isValid() ? time.toString(QStringLiteral("yyyy.MM.dd. HH:mm:ss")) : d.text(r, when);
        e.who = d.isNull(r, name) ? d.text(r, account) : d.text(r, name);
        e.action = actionText(d.text(r, action));
        e.table = tableText(d.text(r, table));
        e.changes = changesText(d.text(r, change));
        e.outsideProgram = d.isNull(r, code) && d.text(r, action) != QLatin1String("A");
        entries << e;
    }
    return entries;
}

QString actionText(const QString &code)
{
    if (code == QLatin1String("I"))
        return QStringLiteral("Felvétel");
    if (code == QLatin1String("U"))
        return QStringLiteral("Módosítás");
    if (code == QLatin1String("D"))
        return QStringLiteral("Törlés");
    if (code == QLatin1String("A"))
        return QStringLiteral("Kiinduló állapot");
    return code;
}

QString tableText(const QString &table)
{
    if (table == QLatin1String("iktato"))
        return QStringLiteral("Dokumentum");
    if (table == QLatin1String("iktato_file"))
        return QStringLiteral("Csatolt file");
    return table;
}

QString changesText(const QString &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return json;
    const QJsonObject changes = doc.object();
    QStringList lines;
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const QJsonArray pair = it.value().toArray();
        const QString values = it.value().isArray() && pair.size() == 2
                                   ? valueText(pair.at(0)) + QStringLiteral(" → ") + valueText(pair.at(1))
                                   : valueText(it.value());
        lines << it.key() + QStringLiteral(": ") + values;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace Trail
