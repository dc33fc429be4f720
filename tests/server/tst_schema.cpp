// The register as install() creates it: complete, keyed, latin2 throughout,
// holding what a new register needs, and check() naming what a damaged one lacks.
#include "TestDatabase.h"
#include "core/RegisterSchema.h"
#include "db/Connection.h"

#include <QTest>

namespace {

QStringList columnOf(const Dataset &d, int col = 0)
{
    QStringList values;
    for (int r = 0; r < d.rowCount(); ++r)
        values << d.text(r, col);
    return values;
}

QString schemaLiteral(const QString &name)
{
    return QLatin1Char('\'') + name + QLatin1Char('\'');
}

// A column as the client holds it: its type (int, text(n), text of any width,
// longtext, date, datetime, flag) and what the client relies on besides: key,
// auto (the server assigns it), unique, null (may be NULL), not-null. "own"
// marks what this register adds for itself: own-key is a primary key the
// client does not need, own a column it does not know.
struct ExpectedColumn
{
    QString name;
    QString shape;
};

struct ExpectedTable
{
    QString name;
    QList<ExpectedColumn> columns;
};

const QList<ExpectedTable> &expectedSchema()
{
    static const QList<ExpectedTable> schema = [] {
        QList<ExpectedTable> t = {
            {"iktato",
             {{"iktato", "int key auto"},
              {"iktato2", "int"},
              {"az1", "int"},
              {"az2", "int"},
              {"targy", "text(255)"},
              {"ugyf_kitol", "int"},
              {"ugyf_hova", "int"},
              {"ugyf_intezkedesre", "int"},
              {"tarolo", "text(50)"},
              {"dat_erk", "date"},
              {"dat_hatid", "date"},
              {"dat_megorzes", "date"},
              {"hivszam", "text(50)"},
              {"torolve", "flag"},
              {"dat_figy", "date null"},
              {"figy_szoveg", "text(100) null"},
              {"nyomtatni", "flag"},
              {"projekt", "int"},
              {"munkaszam", "int"},
              {"irany", "int"},
              {"tipus", "int"},
              {"filenev", "text(128)"},
              {"csoport", "int"},
              {"felhkod", "int"},
              {"kolcsonadva", "flag"},
              {"kolcsonadva_dat", "date"},
              {"kolcsonadva_kinek", "text(50)"},
              {"statusz", "int"},
              {"kulcsszavak", "text(100)"},
              {"megjegyzes", "text(1024)"},
              {"origfilenev", "text(128)"},
              {"filenev2", "text(128)"},
              {"origfilenev2", "text(128)"},
              {"filenev3", "text(128)"},
              {"origfilenev3", "text(128)"},
              {"eredeti", "int"},
              {"egyebcsop", "int"}}},
            // A file without a document would make the "no attached file" entry list nothing.
            {"iktato_file",
             {{"iktato_file", "int key auto"},
              {"iktato", "int not-null"},
              {"filenev", "text(128)"},
              {"origfilenev", "text(128)"},
              {"felhkod", "int"},
              {"rogzitve", "datetime"}}},
            // The text read from attachments, for the content search.
            {"iktato_szoveg",
             {{"iktato_file", "int key not-null"},
              {"iktato", "int not-null"},
              {"szoveg", "mediumtext not-null"},
              {"olvasva", "datetime not-null"},
              {"modszer", "text(10) not-null"}}},
            {"iktnaplo",
             {{"iktnaplo", "int key auto"},
              {"iktato", "int"},
              {"felhkod", "int"},
              {"datum", "datetime"},
              {"szoveg", "longtext null"}}},
            // The pair is unique.
            {"masolat", {{"iktato", "int key"}, {"ugyfel", "int key"}, {"rogzitve", "datetime"}}},
            {"ugyfel",
             {{"ugyfel", "int key auto"},
              {"ugyfel_nev", "text(50)"},
              {"irsz", "text(5)"},
              {"varos", "text(25)"},
              {"cim", "text(50)"},
              {"ui", "text(50)"},
              {"telefon", "text(50)"},
              {"emil", "text(100)"},
              {"belso", "flag"},
              {"webuser", "text(20)"},
              {"webpwd", "text(20)"},
              {"kellsorvika", "flag"},
              {"kellemil", "flag"},
              {"kellsms", "flag"},
              {"torolve", "flag"},
              {"dat_torolve", "datetime"}}},
            // One postal code may serve several towns: the pair is the key.
            {"irsz", {{"irsz", "text(5) own-key"}, {"varos", "text(25) own-key"}}},
            {"csoport", {{"csoport", "int key auto"}, {"csoport_nev", "text(25)"}, {"torolve", "flag"}}},
            // The pair is unique.
            {"felhkod_csoport", {{"felhkod", "int key"}, {"csoport", "int key"}}},
            {"felhasznalo",
             {{"felhkod", "int key"},
              {"felhasznalo", "text(20) unique"},
              {"felhasznalo_nev", "text(20)"},
              {"rendszergazda", "flag"},
              {"torzsszerkeszt", "flag"},
              {"csaksajat", "flag"},
              {"canins", "flag"},
              {"canedit", "flag"},
              {"candel", "flag"},
              {"jelszomd5", "text(50)"},
              {"torolve", "flag"},
              {"dat_torolve", "datetime"},
              {"rogzitve", "datetime"}}},
            {"foszam",
             {{"foszam", "int key"},
              {"foszam_nev", "text(50)"},
              {"torolve", "flag"},
              {"dat_torolve", "datetime"}}},
            {"statusz",
             {{"statusz", "int key"}, {"statusz_nev", "text(50)"}, {"kesz", "flag"}, {"szin", "text"}}},
            {"projekt", {{"projekt", "int key auto"}, {"projekt_nev", "text(50)"}}},
            {"munkaszam", {{"munkaszam", "int key auto"}, {"munkaszam_nev", "text(50)"}}},
            {"tipus", {{"tipus", "int key auto"}, {"tipus_nev", "text(25)"}, {"torolve", "flag"}}},
            {"egyebcsop", {{"egyebcsop", "int key auto"}, {"egyebcsop_nev", "text(50)"}}},
            {"beallit",
             {{"m1", "text"},
              {"m2", "text"},
              {"m3", "text"},
              {"m4", "text"},
              {"m5", "text"},
              {"m6", "text"},
              {"m7", "text"},
              {"m8", "text"},
              {"vanbelep", "flag"},
              {"azhelyettfoszam", "flag"},
              {"vansorszam", "flag"},
              {"mindigegyrolindul", "flag"},
              {"alszamevenkent", "flag"},
              {"vanfoszam", "flag"},
              {"foszamsorszam", "flag"},
              {"alszamreadonly", "flag"},
              {"vanmunkaszamkerdes", "flag"},
              {"vanprojektkerdes", "flag"},
              {"vantipuskerdes", "flag"},
              {"vancsoport", "flag"},
              {"irasvedett", "flag"},
              {"azonnalment", "flag"},
              {"mentescsoport", "flag"},
              {"isftp", "flag"},
              {"doksititkosit", "flag"},
              {"alapcsoport", "int"},
              {"hatidfigyel", "int"},
              {"szabadmezo", "text"},
              {"mezo1", "text"},
              {"mezo2", "text"},
              {"mezo3", "text"},
              {"mezo4", "text"},
              {"mezo5", "text"},
              {"mezo6", "text"},
              {"megjeleno_adatok", "text"},
              {"mentesutvonal", "text"},
              {"megnyitasutvonal", "text"},
              {"ftp_user", "text"},
              {"ftp_pwd", "text"},
              {"ftp_host", "text"},
              {"ftp_mappa", "text"},
              {"verzioelfogadva", "text"},
              {"hirelfogadva", "int"},
              // A one-row table keyed for replication, the key last.
              {"beallit", "int own-key auto own"}}},
            {"tulajdonos",
             {{"tulajdonos", "text(100)"},
              {"telefon", "text(25)"},
              {"mobil", "text(25)"},
              {"fax", "text(25)"},
              {"irsz", "text(5)"},
              {"varos", "text(25)"},
              {"cim", "text(50)"},
              {"adoszam", "text(11)"},
              {"bankszamlaszam", "text(24)"},
              {"betujel", "text(10)"},
              // The name column bears the table's name, so the key is named apart.
              {"tulajdonos_azon", "int own-key auto own"}}},
            {"uzenet",
             {{"uzenet", "int key auto"},
              {"szoveg", "text"},
              {"link", "text"},
              {"csakegyszer", "flag"},
              {"olvasva", "flag"},
              {"dat_olvasva", "datetime"}}},
            {"verzio", {{"verzio", "text own-key"}}},
            // azon is a label position two prints may share, so the key is a column of its own;
            // kapcsolat keeps each session's rows apart.
            {"vkod",
             {{"azon", "int"},
              {"vkod", "text(7)"},
              {"vkod_nev", "text(50)"},
              {"vkod_azon", "int own-key auto own"},
              {"kapcsolat", "bigint own not-null"}}},
            {"csvexp",
             {{"csvexp", "int key auto"},  {"csvexp_nev", "text(50)"},     {"kategoria", "text(45)"},
              {"mezonevek", "text(100)"},  {"mezocimkek", "text(100)"},    {"szoveg_sql", "longtext"},
              {"csopmezok", "text(100)"},  {"summezok", "text(100)"},      {"file_local", "text(100)"},
              {"file_ftp", "text(100)"},   {"ftp_kell", "flag"},           {"hatarolo", "int"},
              {"szovegjelolo", "int"},     {"ftp_user", "text(50)"},       {"ftp_jelszo", "text(50)"},
              {"host_ftp", "text(100)"},   {"adatcentrum", "flag"},        {"ezgrafikon", "flag"},
              {"parameterek", "text(50)"}, {"grafikonparam", "text(100)"}, {"keresmezok", "text(100)"}}},
            {"sv_beallit",
             {{"sv_beallit", "int key auto"},
              {"targy", "text(100)"},
              {"szoveg", "longtext"},
              {"felado", "text(50)"},
              {"ftp_host", "text(50)"},
              {"ftp_username", "text(50)"},
              {"ftp_password", "text(50)"},
              {"ftp_mappa", "text(50)"},
              {"ftp_port", "int"},
              {"betoltphp", "text(100)"},
              {"torolphp", "text(100)"}}},
            // Our own: files handed to the online document store.
            {"sv_file",
             {{"sv_file", "int own-key auto own"},
              {"iktato", "int own"},
              {"ugyfel", "int own"},
              {"filenev", "text(128) own"},
              {"mime", "text(100) own"},
              {"rogzitve", "datetime own"}}},
            // Our own: the trail of changes the server writes, and its head.
            {"iktato_nyom",
             {{"sorszam", "bigint own-key own"},
              {"tabla", "text(16) not-null own"},
              {"muvelet", "flag not-null own"},
              {"iktato", "int not-null own"},
              {"kulcs", "int not-null own"},
              {"ido", "datetime not-null own"},
              {"fiok", "text(141) not-null own"},
              {"felhkod", "int null own"},
              {"valtozas", "mediumtext not-null own"},
              {"elozo", "text not-null own"},
              {"hash", "text not-null own"}}},
            {"iktato_nyom_fej",
             {{"azon", "tinyint own-key own"}, {"darab", "bigint not-null own"}, {"hash", "text not-null own"}}},
            // Our own: the numbering counters.
            {"szamlalo",
             {{"szamlalo", "text(10) own-key own"},
              {"foszam", "int own-key own"},
              {"ev", "int own-key own"},
              {"ertek", "int not-null own"}}},
        };
        const auto columnsOf = [&t](const char *table) {
            for (const ExpectedTable &e : t)
                if (e.name == QLatin1String(table))
                    return e.columns;
            return QList<ExpectedColumn>();
        };
        t.append(
            {"vw_felhasznalo", columnsOf("felhasznalo") + QList<ExpectedColumn>{{"csopstr", "text(255)"}}});
        t.append(
            {"vw_felhkod_csoport", {{"felhkod", "int"}, {"csoport", "int"}, {"csoport_nev", "text(25)"}}});
        t.append(
            {"vw_iktato", columnsOf("iktato") + QList<ExpectedColumn>{{"ugyf_kitol_nev", "text(50)"},
                                                                      {"ugyf_kinek_nev", "text(50)"},
                                                                      {"ugyf_intezkedesre_nev", "text(50)"},
                                                                      {"projekt_nev", "text(50)"},
                                                                      {"munkaszam_nev", "text(50)"},
                                                                      {"tipus_nev", "text(25)"},
                                                                      {"csoport_nev", "text(25)"},
                                                                      {"xtargy", "text(255)"},
                                                                      {"irany_nev", "text(2)"},
                                                                      {"foszamstr", "text(53)"},
                                                                      {"fcs", "int not-null"},
                                                                      {"kesz", "flag"},
                                                                      {"iktatoaz", "text(50)"}}});
        t.append({"vw_iktato_file",
                  columnsOf("iktato_file") + QList<ExpectedColumn>{{"felhasznalo", "text(20)"}}});
        // The owner's row keeps its own key column; the width of the address line is ours.
        t.append({"vw_tulajdonos",
                  columnsOf("tulajdonos") + QList<ExpectedColumn>{{"irszvaros", "text(31) own"}}});
        t.append({"vw_ugyfel", columnsOf("ugyfel") + QList<ExpectedColumn>{{"cimstr", "text(83)"}}});
        return t;
    }();
    return schema;
}

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    Connection &db() { return m_db->connection(); }
    QStringList list(const QString &sql) { return columnOf(db().query(sql)); }

private Q_SLOTS:
    void initTestCase() { m_db = std::make_unique<TestDatabase>(); }
    void cleanupTestCase() { m_db.reset(); }

    void freshRegisterIsComplete()
    {
        const RegisterSchema::CheckReport r = RegisterSchema::check(db(), m_db->name());
        QCOMPARE(r.missingTables, QStringList());
        QCOMPARE(r.missingColumns, QStringList());
        QCOMPARE(r.missingViews, QStringList());
        QCOMPARE(r.missingViewColumns, QStringList());
        QCOMPARE(r.invalidViews, QStringList());
        QCOMPARE(r.missingRoutines, QStringList());
        QCOMPARE(r.tablesWithoutPrimaryKey, QStringList());
        QVERIFY(r.complete());
        // check() leaves the connection in the register it works in
        QCOMPARE(db().selectValue(QStringLiteral("SELECT DATABASE()")).toString(), m_db->name());
    }

    // Galera replicates only tables with a primary key; text compares in Hungarian order.
    void everyTableIsKeyedInnoDbLatin2()
    {
        const QString schema = schemaLiteral(m_db->name());
        QCOMPARE(list(QStringLiteral(
                          "SELECT t.TABLE_NAME FROM information_schema.TABLES t WHERE t.TABLE_SCHEMA=%1 "
                          "AND t.TABLE_TYPE='BASE TABLE' AND NOT EXISTS (SELECT 1 FROM "
                          "information_schema.TABLE_CONSTRAINTS k WHERE k.TABLE_SCHEMA=t.TABLE_SCHEMA "
                          "AND k.TABLE_NAME=t.TABLE_NAME AND k.CONSTRAINT_TYPE='PRIMARY KEY')")
                          .arg(schema)),
                 QStringList());
        QCOMPARE(
            list(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=%1 AND "
                                "TABLE_TYPE='BASE TABLE' AND (ENGINE<>'InnoDB' OR "
                                "TABLE_COLLATION<>'latin2_hungarian_ci')")
                     .arg(schema)),
            QStringList());
        // tables and views alike, derived view columns included
        QCOMPARE(
            list(QStringLiteral("SELECT CONCAT(TABLE_NAME,'.',COLUMN_NAME) FROM information_schema.COLUMNS "
                                "WHERE TABLE_SCHEMA=%1 AND COLLATION_NAME IS NOT NULL AND "
                                "COLLATION_NAME<>'latin2_hungarian_ci'")
                     .arg(schema)),
            QStringList());
        QCOMPARE(list(QStringLiteral(
                          "SELECT ROUTINE_NAME FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA=%1 "
                          "AND ROUTINE_TYPE='FUNCTION' AND COLLATION_NAME<>'latin2_hungarian_ci'")
                          .arg(schema)),
                 QStringList());
    }

    // Every table and view the client reads, column by column in the order its
    // records hold them, with the types and widths it relies on.
    void columnsAsTheClientHoldsThem()
    {
        const Dataset d = db().query(
            QStringLiteral("SELECT c.TABLE_NAME, c.COLUMN_NAME, c.DATA_TYPE, c.COLUMN_TYPE, "
                           "c.CHARACTER_MAXIMUM_LENGTH, c.IS_NULLABLE, c.COLUMN_KEY, c.EXTRA, t.TABLE_TYPE "
                           "FROM information_schema.COLUMNS c JOIN information_schema.TABLES t ON "
                           "t.TABLE_SCHEMA = c.TABLE_SCHEMA AND t.TABLE_NAME = c.TABLE_NAME "
                           "WHERE c.TABLE_SCHEMA = %1 ORDER BY c.TABLE_NAME, c.ORDINAL_POSITION")
                .arg(schemaLiteral(m_db->name())));
        QMap<QString, QStringList> actualColumns;
        QHash<QString, int> rowOf;
        QStringList actualTables, actualViews;
        for (int r = 0; r < d.rowCount(); ++r) {
            const QString table = d.text(r, 0);
            if (!actualColumns.contains(table))
                (d.text(r, 8) == QLatin1String("VIEW") ? actualViews : actualTables) << table;
            actualColumns[table] << d.text(r, 1);
            rowOf.insert(table + QLatin1Char('.') + d.text(r, 1), r);
        }

        QStringList expectedTables, expectedViews;
        for (const ExpectedTable &t : expectedSchema())
            (t.name.startsWith(QLatin1String("vw_")) ? expectedViews : expectedTables) << t.name;
        for (QStringList *names : {&actualTables, &actualViews, &expectedTables, &expectedViews})
            names->sort();
        QCOMPARE(actualTables, expectedTables);
        QCOMPARE(actualViews, expectedViews);

        for (const ExpectedTable &t : expectedSchema()) {
            QStringList names;
            for (const ExpectedColumn &c : t.columns)
                names << c.name;
            QCOMPARE(actualColumns.value(t.name), names);
            for (const ExpectedColumn &c : t.columns) {
                const QString what = t.name + QLatin1Char('.') + c.name;
                const int r = rowOf.value(what);
                const QStringList shape = c.shape.split(QLatin1Char(' '));
                const QString type = shape.first();
                const QString dataType = d.text(r, 2);
                const bool isText =
                    QStringList{"char", "varchar", "text", "mediumtext", "longtext"}.contains(dataType);
                if (type == QLatin1String("int")) {
                    QVERIFY2(d.text(r, 3) == QLatin1String("int(11)") || d.text(r, 3) == QLatin1String("int"),
                             qPrintable(what + QLatin1Char(' ') + d.text(r, 3)));
                } else if (type == QLatin1String("flag")) {
                    QVERIFY2(isText && d.toInt(r, 4) == 1,
                             qPrintable(what + QLatin1Char(' ') + d.text(r, 3)));
                } else if (type == QLatin1String("text")) {
                    QVERIFY2(isText, qPrintable(what + QLatin1Char(' ') + d.text(r, 3)));
                } else if (type.startsWith(QLatin1String("text("))) {
                    QCOMPARE(dataType, QStringLiteral("varchar"));
                    QVERIFY2(QStringLiteral("text(%1)").arg(d.toInt(r, 4)) == type,
                             qPrintable(what + QLatin1Char(' ') + d.text(r, 3)));
                } else {
                    QVERIFY2(dataType == type, qPrintable(what + QLatin1Char(' ') + dataType));
                }
                // Keys and nullability are checked in tables; a view's metadata says
                // little about them, except for fcs, which is named never NULL.
                if (t.name.startsWith(QLatin1String("vw_"))) {
                    if (shape.contains(QLatin1String("not-null")))
                        QVERIFY2(d.text(r, 5) == QLatin1String("NO"), qPrintable(what));
                    continue;
                }
                const bool key =
                    shape.contains(QLatin1String("key")) || shape.contains(QLatin1String("own-key"));
                QVERIFY2((d.text(r, 6) == QLatin1String("PRI")) == key,
                         qPrintable(what + QLatin1String(" key")));
                if (shape.contains(QLatin1String("unique")))
                    QVERIFY2(d.text(r, 6) == QLatin1String("UNI"),
                             qPrintable(what + QLatin1String(" unique")));
                // Keys marked auto come from the server; the others the client supplies.
                if (key)
                    QVERIFY2(d.text(r, 7).contains(QLatin1String("auto_increment")) ==
                                 shape.contains(QLatin1String("auto")),
                             qPrintable(what + QLatin1String(" auto")));
                if (key || shape.contains(QLatin1String("not-null")))
                    QVERIFY2(d.text(r, 5) == QLatin1String("NO"), qPrintable(what + QLatin1String(" NULL")));
                if (shape.contains(QLatin1String("null")))
                    QVERIFY2(d.text(r, 5) == QLatin1String("YES"), qPrintable(what + QLatin1String(" NULL")));
            }
        }
    }

    // The client never fills these on insert: the server's defaults do.
    void serverFillsDeletionMarksAndTimeStamps()
    {
        const Dataset d = db().query(
            QStringLiteral("SELECT CONCAT(c.TABLE_NAME, '.', c.COLUMN_NAME), c.COLUMN_DEFAULT FROM "
                           "information_schema.COLUMNS c JOIN information_schema.TABLES t ON "
                           "t.TABLE_SCHEMA = c.TABLE_SCHEMA AND t.TABLE_NAME = c.TABLE_NAME WHERE "
                           "c.TABLE_SCHEMA = %1 AND t.TABLE_TYPE = 'BASE TABLE' AND c.COLUMN_NAME IN "
                           "('torolve', 'rogzitve', 'datum') ORDER BY 1")
                .arg(schemaLiteral(m_db->name())));
        QStringList columns;
        for (int r = 0; r < d.rowCount(); ++r) {
            columns << d.text(r, 0);
            // MariaDB quotes a text default and writes now() as current_timestamp(); MySQL does neither.
            QString given = d.text(r, 1).toLower();
            given.remove(QLatin1Char('\'')).remove(QStringLiteral("()"));
            const QString expected = d.text(r, 0).endsWith(QLatin1String(".torolve"))
                                         ? QStringLiteral("n")
                                         : QStringLiteral("current_timestamp");
            QVERIFY2(given == expected, qPrintable(d.text(r, 0) + QLatin1Char(' ') + d.text(r, 1)));
        }
        QCOMPARE(columns,
                 (QStringList{"csoport.torolve", "felhasznalo.rogzitve", "felhasznalo.torolve",
                              "foszam.torolve", "iktato.torolve", "iktato_file.rogzitve", "iktnaplo.datum",
                              "masolat.rogzitve", "sv_file.rogzitve", "tipus.torolve", "ugyfel.torolve"}));
    }

    void newRegisterHoldsItsStartingData()
    {
        QCOMPARE(db().selectValue(QStringLiteral("SELECT MAX(verzio) FROM verzio")).toString(),
                 QStringLiteral("24.0.0.367"));
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM beallit")).toInt(), 1);
        const Dataset s = db().query(QStringLiteral("SELECT * FROM beallit"));
        QCOMPARE(s.text(u"mezo1"), QStringLiteral("Munkaszám"));
        QCOMPARE(s.text(u"mezo4"), QStringLiteral("Hiv.szám"));
        QCOMPARE(s.text(u"mezo6"), QStringLiteral("Egyéb"));
        QCOMPARE(s.text(u"szabadmezo"), QStringLiteral("tarolo"));
        QCOMPARE(s.toInt(u"hatidfigyel"), -1);
        QCOMPARE(s.text(u"megjeleno_adatok"), QString(17, QLatin1Char(' ')));
        QCOMPARE(s.text(u"m1"), QStringLiteral("iktatoaz"));
        QCOMPARE(s.text(u"m8"), QStringLiteral("csoport_nev"));
        for (const char *flag :
             {"vanbelep", "vancsoport", "irasvedett", "mindigegyrolindul", "alszamevenkent"})
            QCOMPARE(s.text(QString::fromLatin1(flag)), QStringLiteral("N"));

        // The built-in administrator logs in with the initial password and holds every right.
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM felhasznalo WHERE (felhasznalo = "
                                                 "'rendszergazda') AND (jelszomd5 = MD5('pirkalo')) AND "
                                                 "(torolve = 'N')"))
                     .toInt(),
                 1);
        const Dataset admin = db().query(QStringLiteral("SELECT * FROM felhasznalo WHERE felhkod = 1"));
        QCOMPARE(admin.text(u"felhasznalo_nev"), QStringLiteral("rendszergazda"));
        for (const char *right : {"rendszergazda", "torzsszerkeszt", "canins", "canedit", "candel"})
            QCOMPARE(admin.text(QString::fromLatin1(right)), QStringLiteral("I"));

        // Usable at once: a document registered without groups lands in the default
        // group, which the administrator is a member of, so his list shows it.
        const int group = s.toInt(u"alapcsoport");
        QCOMPARE(
            db().selectValue(QStringLiteral("SELECT COUNT(*) FROM felhkod_csoport fc JOIN csoport c ON "
                                            "c.csoport = fc.csoport WHERE fc.felhkod = 1 AND fc.csoport = %1")
                                 .arg(group))
                .toInt(),
            1);
        const Dataset created = db().call(QStringLiteral("sp_iktato"), {-1, group, 0, -1, -1, 0, 1});
        const int key = created.toInt(u"iktato");
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM vw_iktato WHERE (torolve='N') AND "
                                                 "(irany=0) AND (fcs=1) AND iktato=%1")
                                      .arg(key))
                     .toInt(),
                 1);
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM tulajdonos")).toInt(), 1);
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM vw_tulajdonos")).toInt(), 1);
    }

    void installRefusesAnExistingDatabase()
    {
        auto admin = std::make_unique<Connection>();
        admin->open(TestDatabase::serverParams());
        const int before = db().selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato")).toInt();
        try {
            RegisterSchema::install(*admin, m_db->name());
            QFAIL("install() overwrote an existing database");
        } catch (const DbError &) {
            QFAIL("the refusal must come before any statement fails");
        } catch (const KorvenaError &e) {
            QCOMPARE(e.text(), QStringLiteral("Az adatbázis már létezik: ") + m_db->name());
        }
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato")).toInt(), before);
    }

    void databaseNamesAreChecked_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("letters digits _ $") << QStringLiteral("Kt_valid$1") << true;
        QTest::newRow("64 characters") << QString(64, QLatin1Char('k')) << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("65 characters") << QString(65, QLatin1Char('k')) << false;
        QTest::newRow("blank") << QStringLiteral("kt valid") << false;
        QTest::newRow("hyphen") << QStringLiteral("kt-valid") << false;
        QTest::newRow("backquote") << QStringLiteral("kt`; DROP DATABASE mysql; --") << false;
        QTest::newRow("quote") << QStringLiteral("kt'x") << false;
        QTest::newRow("dot") << QStringLiteral("mysql.user") << false;
        QTest::newRow("accented letter") << QStringLiteral("iktatás") << false;
    }
    void databaseNamesAreChecked()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        if (valid) {
            RegisterSchema::checkDatabaseName(name);
            return;
        }
        auto admin = std::make_unique<Connection>();
        admin->open(TestDatabase::serverParams());
        QVERIFY_THROWS_EXCEPTION(KorvenaError, RegisterSchema::install(*admin, name));
        QVERIFY_THROWS_EXCEPTION(KorvenaError, RegisterSchema::check(*admin, name));
        try {
            RegisterSchema::checkDatabaseName(name);
        } catch (const KorvenaError &e) {
            QVERIFY2(e.text().startsWith(QStringLiteral("Érvénytelen adatbázisnév")), qPrintable(e.text()));
        }
        if (!name.contains(QLatin1Char('\'')))
            QCOMPARE(
                admin
                    ->selectValue(QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE "
                                                 "SCHEMA_NAME = '%1'")
                                      .arg(name))
                    .toInt(),
                0);
    }

    void checkNamesWhatIsMissing()
    {
        TestDatabase damaged;
        Connection &c = damaged.connection();
        c.exec(QStringLiteral("DROP TABLE vkod"));
        c.exec(QStringLiteral("ALTER TABLE iktato DROP COLUMN eredeti"));
        c.exec(QStringLiteral("DROP VIEW vw_tulajdonos"));
        c.exec(QStringLiteral("DROP VIEW vw_ugyfel"));
        c.exec(QStringLiteral("CREATE VIEW vw_ugyfel AS SELECT ugyfel, ugyfel_nev FROM ugyfel"));
        c.exec(QStringLiteral("DROP PROCEDURE sp_svadd"));
        c.exec(QStringLiteral("DROP FUNCTION fn_iktatoaz"));
        c.exec(QStringLiteral("ALTER TABLE verzio DROP PRIMARY KEY"));
        c.exec(QStringLiteral("CREATE TABLE sajat (a INT) ENGINE=InnoDB"));
        c.exec(QStringLiteral("ALTER TABLE iktato_szoveg DROP KEY ft_iktato_szoveg_szoveg"));

        const RegisterSchema::CheckReport r = RegisterSchema::check(c, damaged.name());
        QVERIFY(!r.complete());
        QCOMPARE(r.missingTables, QStringList{"vkod"});
        QCOMPARE(r.missingColumns, QStringList{"iktato.eredeti"});
        QCOMPARE(r.missingViews, QStringList{"vw_tulajdonos"});
        // vw_ugyfel lacks columns; vw_iktato lost a column of its table and fn_iktatoaz, so it cannot be read
        QCOMPARE(r.invalidViews, QStringList{"vw_iktato"});
        QVERIFY(r.missingViewColumns.contains(QStringLiteral("vw_ugyfel.cimstr")));
        QVERIFY(!r.missingViewColumns.contains(QStringLiteral("vw_ugyfel.ugyfel")));
        for (const QString &c : r.missingViewColumns)
            QVERIFY2(c.startsWith(QLatin1String("vw_ugyfel.")), qPrintable(c));
        QCOMPARE(r.missingRoutines, (QStringList{"FUNCTION fn_iktatoaz", "PROCEDURE sp_svadd"}));
        QCOMPARE(r.tablesWithoutPrimaryKey, (QStringList{"sajat", "verzio"}));
        QCOMPARE(r.missingFulltextKeys, QStringList{"iktato_szoveg(szoveg)"});
    }

    void checkRefusesAMissingDatabase()
    {
        try {
            RegisterSchema::check(db(), QStringLiteral("kt_nincs_ilyen_adatbazis"));
            QFAIL("check() of a missing database");
        } catch (const KorvenaError &e) {
            QCOMPARE(e.text(), QStringLiteral("Az adatbázis nem létezik: kt_nincs_ilyen_adatbazis"));
        }
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
