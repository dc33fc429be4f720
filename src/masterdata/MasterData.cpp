#include "masterdata/MasterData.h"

#include "common/SqlText.h"

#include <QRegularExpression>

namespace {

bool isAsciiLower(QChar c)
{
    return c.unicode() >= 'a' && c.unicode() <= 'z';
}

} // namespace

// ---- generic tables

namespace MasterTable {

QString baseCondition(bool softDelete)
{
    return softDelete ? QStringLiteral("(torolve = 'N')") : QStringLiteral("(1 = 1)");
}

QStringList listQuery(const QString &table, bool softDelete)
{
    return {QStringLiteral("SELECT * FROM ") + table, QStringLiteral("WHERE ") + baseCondition(softDelete),
            QStringLiteral("ORDER BY ") + nameColumn(table) + QLatin1Char(';')};
}

QString nameColumn(const QString &table)
{
    return table + QStringLiteral("_nev");
}

QString deleteStatement(const QString &table, const QVariant &key, bool softDelete)
{
    if (softDelete)
        return QStringLiteral("UPDATE ") + table + QStringLiteral(" SET torolve = 'I' WHERE ") + table +
               QStringLiteral(" = ") + SqlInt(key) + QLatin1Char(';');
    return QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE ") + table +
           QStringLiteral(" = ") + SqlInt(key) + QLatin1Char(';');
}

QString defaultCaption(const QString &table)
{
    const QString t = table.toLower();
    if (t == QLatin1String("projekt"))
        return QStringLiteral("Projekt");
    if (t == QLatin1String("munkaszam"))
        return QStringLiteral("Munkaszám");
    if (t == QLatin1String("tipus"))
        return QStringLiteral("Típus");
    if (t == QLatin1String("csoport"))
        return QStringLiteral("Csoport");
    if (t == QLatin1String("egyebcsop"))
        return QStringLiteral("Egyéb csoportosítás");
    return table;
}

CallModes callModes(Caller caller)
{
    const QString projekt = QStringLiteral("projekt");
    const QString munkaszam = QStringLiteral("munkaszam");
    const QString tipus = QStringLiteral("tipus");
    const QString csoport = QStringLiteral("csoport");
    const QString egyebcsop = QStringLiteral("egyebcsop");
    // table, caption, settings label, pick, soft delete, read-only
    switch (caller) {
    case Caller::ProjectAdmin:
        return {projekt, {}, &ProgramSettings::mezo2, false, false, false};
    case Caller::WorkNumberAdmin:
        return {munkaszam, {}, &ProgramSettings::mezo1, false, false, false};
    case Caller::TypeAdmin:
        return {tipus, {}, &ProgramSettings::mezo3, false, true, false};
    case Caller::GroupAdmin:
        return {csoport, defaultCaption(csoport), nullptr, false, true, false};
    // The filters offer deleted types too: old documents still carry them.
    case Caller::TypeFilter:
        return {tipus, defaultCaption(tipus), nullptr, true, false, true};
    case Caller::OtherGroupFilter:
        return {egyebcsop, defaultCaption(egyebcsop), nullptr, true, false, true};
    case Caller::ProjectMarking:
        return {projekt, defaultCaption(projekt), nullptr, true, false, false};
    case Caller::WorkNumberMarking:
        return {munkaszam, defaultCaption(munkaszam), nullptr, true, false, false};
    case Caller::EditorProject:
        return {projekt, {}, &ProgramSettings::mezo2, true, false, false};
    case Caller::EditorWorkNumber:
        return {munkaszam, {}, &ProgramSettings::mezo1, true, false, false};
    case Caller::EditorType:
        return {tipus, {}, &ProgramSettings::mezo3, true, true, false};
    case Caller::EditorOtherGroup:
        return {egyebcsop, defaultCaption(egyebcsop), nullptr, true, false, false};
    case Caller::NewDocumentType:
        return {tipus, {}, &ProgramSettings::mezo3, true, false, false};
    case Caller::NewDocumentWorkNumber:
        return {munkaszam, {}, &ProgramSettings::mezo1, true, false, false};
    case Caller::NewDocumentProject:
        return {projekt, {}, &ProgramSettings::mezo2, true, false, false};
    case Caller::SettingsDefaultGroup:
    case Caller::MembershipNewGroup:
        return {csoport, defaultCaption(csoport), nullptr, true, true, false};
    }
    return {};
}

} // namespace MasterTable

// ---- clients

namespace Clients {

QString kindFilter(ClientKind kind)
{
    switch (kind) {
    case ClientKind::Internal:
        return QStringLiteral("(belso = 'I')");
    case ClientKind::External:
        return QStringLiteral("(belso = 'N')");
    case ClientKind::All:
        break;
    }
    return QStringLiteral("(ugyfel > 0)");
}

QStringList listQuery()
{
    return {QStringLiteral("SELECT * FROM vw_ugyfel"), QStringLiteral("WHERE ugyfel > 0"),
            QStringLiteral("ORDER BY ugyfel_nev;")};
}

QString searchFields()
{
    return QStringLiteral("ugyfel_nev;ui;cimstr;telefon");
}

QString deleteStatement(const QVariant &key)
{
    return QStringLiteral("UPDATE ugyfel SET torolve = 'I', dat_torolve=NOW() WHERE ugyfel = ") +
           SqlInt(key) + QLatin1Char(';');
}

QString postalCodeQuery(const QString &postalCode)
{
    // SqlLiteral rather than bare quotes: the server reads backslash escapes in literals.
    return QStringLiteral("SELECT varos FROM irsz WHERE irsz=") + SqlLiteral(postalCode) + QLatin1Char(';');
}

QString belsoPreset(ClientKind kind)
{
    return kind == ClientKind::Internal ? QStringLiteral("I") : QStringLiteral("N");
}

} // namespace Clients

// ---- main numbers

namespace MainNumbers {

QString baseCondition()
{
    return QStringLiteral("(1=1)");
}

QStringList listQuery()
{
    return {QStringLiteral("SELECT * FROM foszam"), QStringLiteral("WHERE (torolve='N')"),
            QStringLiteral("ORDER BY foszam;")};
}

QString searchFields()
{
    return QStringLiteral("CONVERT(foszam USING latin2);foszam_nev");
}

QString deleteStatement(const QVariant &key)
{
    return QStringLiteral("UPDATE foszam SET torolve = 'I', dat_torolve=NOW() WHERE foszam = ") +
           SqlInt(key) + QLatin1Char(';');
}

bool isValidNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+$"));
    return number.match(text.trimmed()).hasMatch();
}

QString displayText(qint64 number)
{
    return QStringLiteral("%1").arg(number, 8, 10, QLatin1Char('0'));
}

} // namespace MainNumbers

// ---- statuses

namespace Statuses {

QString baseCondition()
{
    return QStringLiteral("(1=1)");
}

QStringList listQuery()
{
    // The WHERE line is the search's place; it holds the base condition until the first search.
    return {QStringLiteral("SELECT * FROM statusz"), QStringLiteral("WHERE (1=1)"),
            QStringLiteral("ORDER BY statusz;")};
}

QString deleteStatement(const QVariant &key)
{
    return QStringLiteral("DELETE FROM statusz WHERE statusz = ") + SqlInt(key) + QLatin1Char(';');
}

const QStringList &colours()
{
    static const QStringList list = {QString(),
                                     QStringLiteral("active"),
                                     QStringLiteral("primary"),
                                     QStringLiteral("secondary"),
                                     QStringLiteral("success"),
                                     QStringLiteral("danger"),
                                     QStringLiteral("warning"),
                                     QStringLiteral("info"),
                                     QStringLiteral("light"),
                                     QStringLiteral("dark")};
    return list;
}

bool isValidNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    bool ok = false;
    const qint64 n = t.toLongLong(&ok);
    return ok && n >= 0 && n <= 9;
}

} // namespace Statuses

// ---- users

namespace Users {

QString baseCondition()
{
    return QStringLiteral("(torolve = 'N')");
}

QStringList listQuery()
{
    return {QStringLiteral("SELECT * FROM vw_felhasznalo"), QStringLiteral("WHERE torolve = 'N'"),
            QStringLiteral("ORDER BY felhasznalo;")};
}

QString searchFields()
{
    return QStringLiteral("felhasznalo;felhasznalo_nev");
}

QString deleteStatement(const QVariant &key)
{
    return QStringLiteral("UPDATE felhasznalo SET torolve = 'I', dat_torolve = NOW() WHERE felhkod = ") +
           SqlInt(key) + QLatin1Char(';');
}

QString defaultPassword()
{
    return QStringLiteral("pirkalo");
}

QString loginQuery(const QString &login)
{
    return QStringLiteral("SELECT felhasznalo FROM felhasznalo WHERE felhasznalo = ") + SqlLiteral(login) +
           QLatin1Char(';');
}

QStringList groupsQuery(int userKey)
{
    return {QStringLiteral("SELECT * FROM vw_felhkod_csoport"),
            QStringLiteral("WHERE felhkod = ") + SqlInt(userKey), QStringLiteral("ORDER BY csoport_nev;")};
}

QString addGroupStatement(int userKey, const QVariant &group)
{
    return QStringLiteral("INSERT IGNORE INTO felhkod_csoport (felhkod,csoport) VALUES (") + SqlInt(userKey) +
           QLatin1Char(',') + SqlInt(group) + QStringLiteral(");");
}

QString addAllGroupsStatement(int userKey)
{
    return QStringLiteral("INSERT IGNORE INTO felhkod_csoport (felhkod,csoport) SELECT ") + SqlInt(userKey) +
           QStringLiteral(",csoport FROM csoport;");
}

QString removeGroupStatement(int userKey, const QVariant &group)
{
    return QStringLiteral("DELETE FROM felhkod_csoport WHERE (felhkod = ") + SqlInt(userKey) +
           QStringLiteral(") AND (csoport = ") + SqlInt(group) + QStringLiteral(");");
}

} // namespace Users

// ---- picker columns

QList<PickerColumn> parsePickerColumns(const QString &columns)
{
    QList<PickerColumn> result;
    const QStringList items = columns.split(QLatin1Char(';'));
    for (int i = 0; i < items.size() && i < 20; ++i) {
        const QStringList parts = items.at(i).split(QLatin1Char(','));
        if (parts.size() < 3)
            continue;
        bool ok = false;
        const int width = parts.at(2).trimmed().toInt(&ok);
        if (!ok || width <= 0)
            continue;
        result.append({parts.at(0).trimmed(), parts.at(1), width});
    }
    return result;
}

SqlPickRequest groupPickerRequest(int userKey)
{
    SqlPickRequest r;
    r.sql = QStringList{QStringLiteral("SELECT"),
                        QStringLiteral(" fcs.csoport,"),
                        QStringLiteral(" cs.csoport_nev"),
                        QStringLiteral("FROM felhkod_csoport fcs"),
                        QStringLiteral(" JOIN csoport cs ON (fcs.csoport = cs.csoport)"),
                        QStringLiteral("WHERE fcs.felhkod = ") + SqlInt(userKey),
                        QStringLiteral("ORDER BY cs.csoport_nev;")};
    r.columns = QStringLiteral("csoport_nev,Csoport,100");
    r.keyField = QStringLiteral("csoport");
    r.baseCondition = QStringLiteral("(fcs.felhkod = ") + SqlInt(userKey) + QLatin1Char(')');
    r.caption = QStringLiteral("Csoport választás");
    r.searchField = QStringLiteral("csoport_nev");
    return r;
}

// ---- typing rules

QChar firstLetterCase(const QString &textBefore, QChar typed, bool asciiOnly)
{
    if (!textBefore.isEmpty())
        return typed;
    if (isAsciiLower(typed) || (!asciiOnly && typed.isLower()))
        return typed.toUpper();
    return typed;
}

QChar nameLetterCase(const QString &textBefore, int cursor, QChar typed)
{
    const bool afterSpace =
        cursor > 0 && cursor <= textBefore.size() && textBefore.at(cursor - 1) == QLatin1Char(' ');
    if (textBefore.isEmpty() || afterSpace)
        return typed.toUpper();
    return typed;
}
