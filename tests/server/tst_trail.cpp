// The trail the server writes of every change to documents and attachments, and
// verify, which proves it whole and in agreement with the rows.
#include "TestDatabase.h"
#include "common/SqlText.h"
#include "core/RegisterSchema.h"
#include "core/TrailVerifier.h"
#include "db/Connection.h"
#include "db/SqlScript.h"
#include "db/UnitOfWork.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

struct TrailRow
{
    qint64 sorszam = 0;
    QString tabla;
    QString muvelet;
    qint64 iktato = 0;
    qint64 kulcs = 0;
    QString fiok;
    QVariant felhkod;
    QJsonObject valtozas;
};

QList<TrailRow> trailAfter(Connection &c, qint64 after)
{
    const Dataset d = c.query(QStringLiteral("SELECT sorszam, tabla, muvelet, iktato, kulcs, fiok, felhkod, valtozas "
                                             "FROM iktato_nyom WHERE sorszam > %1 ORDER BY sorszam")
                                  .arg(after));
    QList<TrailRow> rows;
    for (int r = 0; r < d.rowCount(); ++r) {
        TrailRow t;
        t.sorszam = d.toInt(r, 0);
        t.tabla = d.text(r, 1);
        t.muvelet = d.text(r, 2);
        t.iktato = d.toInt(r, 3);
        t.kulcs = d.toInt(r, 4);
        t.fiok = d.text(r, 5);
        t.felhkod = d.value(r, 6);
        t.valtozas = QJsonDocument::fromJson(d.text(r, 7).toUtf8()).object();
        rows << t;
    }
    return rows;
}

qint64 trailCount(Connection &c)
{
    return c.selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato_nyom")).toLongLong();
}

QJsonValue json(const QVariant &v)
{
    return v.isNull() ? QJsonValue() : QJsonValue(v.toString());
}

QJsonArray pair(const QJsonValue &old, const QJsonValue &now)
{
    return QJsonArray{old, now};
}

TrailVerifier::Result verify(const TestDatabase &db, const TrailVerifier::Head *head = nullptr)
{
    auto a = db.newConnection();
    auto b = db.newConnection();
    return TrailVerifier::verify(*a, *b, head);
}

// The statements of server/trail.sql, as an upgrade runs them.
QStringList trailScript()
{
    QFile f(QStringLiteral(":/server/trail.sql"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("trail.sql missing");
    return SqlScript::split(QString::fromUtf8(f.readAll()));
}

} // namespace

class TestTrail : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    Connection &db() { return m_db->connection(); }

    qint64 newDocument(const QString &targy = QStringLiteral("Tárgy"))
    {
        db().exec(QStringLiteral("INSERT INTO iktato (iktato2, targy, dat_erk, csoport) VALUES (1, %1, '2024-03-05', 1)")
                      .arg(SqlLiteral(targy)));
        return qint64(db().lastInsertId());
    }

    qint64 newFile(qint64 document, const QString &name)
    {
        db().exec(QStringLiteral("INSERT INTO iktato_file (iktato, filenev, origfilenev, felhkod) "
                                 "VALUES (%1, %2, 'eredeti.pdf', 1)")
                      .arg(document)
                      .arg(SqlLiteral(name)));
        return qint64(db().lastInsertId());
    }

    // A register with some history: documents, changes, attachments, a deletion.
    void someHistory()
    {
        const qint64 a = newDocument(QStringLiteral("Első"));
        const qint64 b = newDocument(QStringLiteral("Második"));
        newDocument(QStringLiteral("Harmadik"));
        db().exec(QStringLiteral("UPDATE iktato SET targy = 'Első, javítva', statusz = 2 WHERE iktato = %1").arg(a));
        newFile(a, QStringLiteral("a.pdf"));
        const qint64 f = newFile(b, QStringLiteral("b.pdf"));
        db().exec(QStringLiteral("UPDATE iktato_file SET origfilenev = 'más.pdf' WHERE iktato_file = %1").arg(f));
        db().exec(QStringLiteral("DELETE FROM iktato WHERE iktato = %1").arg(b));
        db().exec(QStringLiteral("DELETE FROM iktato_file WHERE iktato_file = %1").arg(f));
    }

private Q_SLOTS:
    void init() { m_db = std::make_unique<TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    void changeIsRecordedWithOldAndNewValue_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QVariant>("after");
        QTest::addColumn<QVariant>("user");
        const QVariant none;
        QTest::newRow("plain client") << QVariant("régi") << QVariant("új") << none;
        QTest::newRow("program user") << QVariant("régi") << QVariant("új") << QVariant(7);
        QTest::newRow("quotes and backslashes")
            << QVariant("a \"b\" 'c'") << QVariant("C:\\mappa\\\"x\"\\") << QVariant(7);
        QTest::newRow("line breaks and tab") << QVariant("egy\r\nkettő") << QVariant("\tharom\n") << none;
        QTest::newRow("accents") << QVariant("árvíztűrő tükörfúrógép") << QVariant("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP")
                                 << none;
        QTest::newRow("cp1250 punctuation") << QVariant("„idézet”") << QVariant("a – b … ‘c’ •") << none;
        QTest::newRow("null to value") << none << QVariant("most lett") << none;
        QTest::newRow("value to null") << QVariant("volt") << none << none;
        QTest::newRow("case only") << QVariant("a") << QVariant("A") << none;
        QTest::newRow("accent only") << QVariant("o") << QVariant("ó") << none;
        QTest::newRow("empty to blank") << QVariant("") << QVariant(" ") << none;
    }
    void changeIsRecordedWithOldAndNewValue()
    {
        QFETCH(QVariant, before);
        QFETCH(QVariant, after);
        QFETCH(QVariant, user);
        const qint64 doc = newDocument();
        const auto literal = [](const QVariant &v) { return v.isNull() ? QStringLiteral("NULL") : SqlLiteral(v); };
        db().exec(QStringLiteral("UPDATE iktato SET targy = %1 WHERE iktato = %2").arg(literal(before)).arg(doc));
        const qint64 mark = trailCount(db());
        if (!user.isNull())
            db().exec(QStringLiteral("SET @korvena_felhkod = %1").arg(user.toInt()));
        db().exec(QStringLiteral("UPDATE iktato SET targy = %1 WHERE iktato = %2").arg(literal(after)).arg(doc));

        const QList<TrailRow> rows = trailAfter(db(), mark);
        QCOMPARE(rows.size(), 1);
        const TrailRow &t = rows.first();
        QCOMPARE(t.tabla, QStringLiteral("iktato"));
        QCOMPARE(t.muvelet, QStringLiteral("U"));
        QCOMPARE(t.iktato, doc);
        QCOMPARE(t.kulcs, doc);
        QCOMPARE(t.felhkod, user.isNull() ? QVariant() : QVariant(user.toInt()));
        QCOMPARE(t.fiok, db().selectValue(QStringLiteral("SELECT USER()")).toString());
        QCOMPARE(t.valtozas, (QJsonObject{{"targy", pair(json(before), json(after))}}));
        QVERIFY2(verify(*m_db).ok, qPrintable(verify(*m_db).problem));
    }

    void insertAndDeleteHoldEveryColumn()
    {
        db().exec(QStringLiteral("SET @korvena_felhkod = 3"));
        const qint64 doc = newDocument(QStringLiteral("Új irat"));
        const qint64 file = newFile(doc, QStringLiteral("x.pdf"));
        db().exec(QStringLiteral("SET @korvena_felhkod = NULL"));
        db().exec(QStringLiteral("DELETE FROM iktato_file WHERE iktato_file = %1").arg(file));
        db().exec(QStringLiteral("DELETE FROM iktato WHERE iktato = %1").arg(doc));

        const QList<TrailRow> rows = trailAfter(db(), 0);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0].tabla + rows[0].muvelet, QStringLiteral("iktatoI"));
        QCOMPARE(rows[1].tabla + rows[1].muvelet, QStringLiteral("iktato_fileI"));
        QCOMPARE(rows[2].tabla + rows[2].muvelet, QStringLiteral("iktato_fileD"));
        QCOMPARE(rows[3].tabla + rows[3].muvelet, QStringLiteral("iktatoD"));
        QCOMPARE(rows[0].felhkod, QVariant(3));
        QCOMPARE(rows[3].felhkod, QVariant());
        QCOMPARE(rows[1].iktato, doc);
        QCOMPARE(rows[1].kulcs, file);
        QCOMPARE(rows[2].kulcs, file);
        for (int i : {0, 1}) {
            QCOMPARE(rows[i].sorszam, qint64(i + 1));
        }

        // Every column but the print mark, on both sides of an insert and a delete.
        const Dataset columns = db().query(
            QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                           "DATABASE() AND TABLE_NAME IN ('iktato', 'iktato_file')"));
        for (int r = 0; r < columns.rowCount(); ++r) {
            const QString table = columns.text(r, 0);
            const QString column = columns.text(r, 1);
            const bool tracked = column != QLatin1String("nyomtatni");
            const int insert = table == QLatin1String("iktato") ? 0 : 1;
            const int remove = table == QLatin1String("iktato") ? 3 : 2;
            QCOMPARE(rows[insert].valtozas.contains(column), tracked);
            QCOMPARE(rows[remove].valtozas.contains(column), tracked);
            if (tracked) {
                QCOMPARE(rows[insert].valtozas.value(column).toArray().at(0), QJsonValue());
                QCOMPARE(rows[remove].valtozas.value(column).toArray().at(1), QJsonValue());
                QCOMPARE(rows[insert].valtozas.value(column).toArray().at(1),
                         rows[remove].valtozas.value(column).toArray().at(0));
            }
        }
        QCOMPARE(rows[0].valtozas.value("targy").toArray().at(1), QJsonValue("Új irat"));
        QCOMPARE(rows[0].valtozas.value("dat_erk").toArray().at(1), QJsonValue("2024-03-05"));
        QCOMPARE(rows[0].valtozas.value("iktato2").toArray().at(1), QJsonValue(1));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(rows[1].valtozas.value("rogzitve").toArray().at(1).toString())
                    .hasMatch());
        QVERIFY(verify(*m_db).ok);
    }

    void updateThatChangesNothingTrackedWritesNothing_data()
    {
        QTest::addColumn<QString>("set");
        QTest::newRow("same values") << QStringLiteral("targy = targy, dat_erk = dat_erk, az1 = az1");
        QTest::newRow("null stays null") << QStringLiteral("hivszam = NULL");
        QTest::newRow("print mark only") << QStringLiteral("nyomtatni = 'I'");
    }
    void updateThatChangesNothingTrackedWritesNothing()
    {
        QFETCH(QString, set);
        const qint64 doc = newDocument();
        const qint64 mark = trailCount(db());
        db().exec(QStringLiteral("UPDATE iktato SET %1 WHERE iktato = %2").arg(set).arg(doc));
        QCOMPARE(trailCount(db()), mark);
        QVERIFY(verify(*m_db).ok);
    }

    void newKeyEndsOneHistoryAndStartsAnother()
    {
        const qint64 doc = newDocument();
        const qint64 mark = trailCount(db());
        db().exec(QStringLiteral("UPDATE iktato SET iktato = 900, targy = 'áthelyezve' WHERE iktato = %1").arg(doc));
        const QList<TrailRow> rows = trailAfter(db(), mark);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].muvelet + QString::number(rows[0].kulcs), QStringLiteral("D%1").arg(doc));
        QCOMPARE(rows[1].muvelet + QString::number(rows[1].kulcs), QStringLiteral("I900"));
        const TrailVerifier::Result r = verify(*m_db);
        QVERIFY2(r.ok, qPrintable(r.problem));
    }

    // The triggers name every column of the two tables: a column added without them
    // would change unseen.
    void triggersNameEveryColumn()
    {
        const Dataset triggers = db().query(QStringLiteral(
            "SELECT EVENT_OBJECT_TABLE, TRIGGER_NAME, ACTION_STATEMENT FROM information_schema.TRIGGERS "
            "WHERE TRIGGER_SCHEMA = DATABASE() ORDER BY 1, 2"));
        QCOMPARE(triggers.rowCount(), 6);
        for (int t = 0; t < triggers.rowCount(); ++t) {
            const QString table = triggers.text(t, 0);
            const QString body = triggers.text(t, 2);
            const Dataset columns = db().query(
                QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() "
                               "AND TABLE_NAME = %1")
                    .arg(SqlLiteral(table)));
            QVERIFY(columns.rowCount() > 3);
            for (int c = 0; c < columns.rowCount(); ++c) {
                const QString column = columns.text(c, 0);
                if (column == QLatin1String("nyomtatni")) {
                    QVERIFY2(!body.contains(QLatin1String("nyomtatni")), qPrintable(triggers.text(t, 1)));
                    continue;
                }
                // The primary key names itself in an update's row comparison only as the new-key case.
                QVERIFY2(body.contains(QStringLiteral("NEW.%1").arg(column)) ||
                             body.contains(QStringLiteral("OLD.%1").arg(column)),
                         qPrintable(triggers.text(t, 1) + QLatin1String(": ") + column));
                QVERIFY2(body.contains(QStringLiteral("\"%1\":").arg(column)),
                         qPrintable(triggers.text(t, 1) + QLatin1String(": ") + column));
            }
        }
    }

    void verifyNamesTheBreak_data()
    {
        QTest::addColumn<QStringList>("tamper");
        QTest::addColumn<QString>("expected");
        QTest::newRow("untouched") << QStringList() << QString();
        QTest::newRow("trail row deleted") << QStringList{"DELETE FROM iktato_nyom WHERE sorszam = 4"}
                                           << "Hiányzik a nyom 4. sora";
        QTest::newRow("last trail row deleted")
            << QStringList{"DELETE FROM iktato_nyom ORDER BY sorszam DESC LIMIT 1"} << "Hiányzik a nyom 9. sora";
        QTest::newRow("trail value changed")
            << QStringList{"UPDATE iktato_nyom SET valtozas = REPLACE(valtozas, 'javítva', 'JAVÍTVA') WHERE sorszam = 4"}
            << "A nyom 4. sora megváltozott";
        QTest::newRow("trail account changed") << QStringList{"UPDATE iktato_nyom SET fiok = 'mas@gep' WHERE sorszam = 2"}
                                               << "A nyom 2. sora megváltozott";
        QTest::newRow("trail row inserted")
            << QStringList{"INSERT INTO iktato_nyom SELECT sorszam + 1, tabla, muvelet, iktato, kulcs, ido, fiok, "
                           "felhkod, valtozas, hash, hash FROM iktato_nyom ORDER BY sorszam DESC LIMIT 1"}
            << "A nyom 10. sora beszúrt sor";
        QTest::newRow("trail row swapped")
            << QStringList{"UPDATE iktato_nyom SET elozo = REPEAT('1', 64) WHERE sorszam = 3"}
            << "A nyom 3. sora megváltozott";
        QTest::newRow("head altered") << QStringList{"UPDATE iktato_nyom_fej SET hash = REPEAT('a', 64)"}
                                      << "A lánc feje (iktato_nyom_fej) nem egyezik";
        QTest::newRow("document changed past the triggers")
            << QStringList{"DROP TRIGGER tr_iktato_nyom_u", "UPDATE iktato SET targy = 'más' WHERE iktato = 3"}
            << "A(z) 3. irat targy mezője \"más\", de a nyom szerint \"Harmadik\" (a nyom 3. sora)";
        QTest::newRow("document deleted past the triggers")
            << QStringList{"DROP TRIGGER tr_iktato_nyom_d", "DELETE FROM iktato WHERE iktato = 3"}
            << "A(z) 3. irat hiányzik";
        QTest::newRow("document added past the triggers")
            << QStringList{"DROP TRIGGER tr_iktato_nyom_i", "INSERT INTO iktato (iktato, targy) VALUES (50, 'x')"}
            << "A(z) 50. irat létezik, de a nyom nem tud róla";
        QTest::newRow("deleted document back past the triggers")
            << QStringList{"DROP TRIGGER tr_iktato_nyom_i", "INSERT INTO iktato (iktato, targy) VALUES (2, 'x')"}
            << "A(z) 2. irat létezik, de a nyom nem tud róla (a nyom szerint törölték, a nyom 8. sora)";
        QTest::newRow("attachment changed past the triggers")
            << QStringList{"DROP TRIGGER tr_iktato_file_nyom_u", "UPDATE iktato_file SET felhkod = 9 WHERE iktato_file = 1"}
            << "A(z) 1. csatolt fájl felhkod mezője 9, de a nyom szerint 1";
        QTest::newRow("column the trail does not know")
            << QStringList{"ALTER TABLE iktato ADD COLUMN uj_mezo INT NULL DEFAULT 5"}
            << "A(z) 1. irat uj_mezo mezőjének értékét a nyom nem ismeri (5)";
        QTest::newRow("change past the trail, then one through it")
            << QStringList{"DROP TRIGGER tr_iktato_nyom_u", "UPDATE iktato SET targy = 'csendben' WHERE iktato = 3",
                           "@trigger tr_iktato_nyom_u", "UPDATE iktato SET targy = 'Harmadik' WHERE iktato = 3"}
            << "A nyom 10. sora szerint a(z) 3. irat targy mezője \"csendben\" volt, de a nyom előző sorai "
               "szerint \"Harmadik\"";
    }
    void verifyNamesTheBreak()
    {
        QFETCH(QStringList, tamper);
        QFETCH(QString, expected);
        someHistory();
        QCOMPARE(trailCount(db()), qint64(9));
        for (const QString &sql : tamper) {
            if (sql.startsWith(QLatin1Char('@'))) {
                // Puts a trigger back as the register's script creates it.
                const QString name = sql.section(QLatin1Char(' '), 1);
                for (const QString &statement : trailScript()) {
                    if (statement.contains(QStringLiteral("CREATE TRIGGER %1 ").arg(name)))
                        db().exec(statement);
                }
                continue;
            }
            db().exec(sql);
        }
        const TrailVerifier::Result r = verify(*m_db);
        if (expected.isEmpty()) {
            QVERIFY2(r.ok, qPrintable(r.problem));
            QCOMPARE(r.head.count, qint64(9));
            QCOMPARE(r.head.hash, db().selectValue(QStringLiteral("SELECT hash FROM iktato_nyom WHERE sorszam = 9"))
                                      .toString());
        } else {
            QVERIFY(!r.ok);
            QVERIFY2(r.problem.contains(expected), qPrintable(r.problem));
        }
    }

    void earlierHeadProvesTheTrailUpToIt()
    {
        someHistory();
        const TrailVerifier::Result before = verify(*m_db);
        QVERIFY(before.ok);
        const qint64 doc = newDocument(QStringLiteral("Később"));
        db().exec(QStringLiteral("UPDATE iktato SET megjegyzes = 'x' WHERE iktato = %1").arg(doc));

        QVERIFY(verify(*m_db, &before.head).ok);
        TrailVerifier::Head forged = before.head;
        forged.hash[0] = forged.hash[0] == QLatin1Char('a') ? QLatin1Char('b') : QLatin1Char('a');
        const TrailVerifier::Result r = verify(*m_db, &forged);
        QVERIFY(!r.ok);
        QVERIFY2(r.problem.contains(QStringLiteral("A nyom 9. sora nem az, amit a megadott fej rögzített")),
                 qPrintable(r.problem));
        TrailVerifier::Head longer = before.head;
        longer.count = 40;
        QVERIFY(!verify(*m_db, &longer).ok);

        // A rewritten chain that verifies on its own still fails against the head kept outside.
        db().exec(QStringLiteral("DROP TRIGGER tr_iktato_nyom_u"));
        db().exec(QStringLiteral("UPDATE iktato SET targy = 'átírva' WHERE iktato = 1"));
        db().exec(QStringLiteral("DELETE FROM iktato_nyom"));
        db().exec(QStringLiteral("UPDATE iktato_nyom_fej SET darab = 0, hash = REPEAT('0', 64)"));
        db().exec(QStringLiteral("CALL sp_nyom_kezdet()"));
        const qint64 rebuilt = trailCount(db());
        QVERIFY(rebuilt >= 3);
        QVERIFY(verify(*m_db).ok);
        QVERIFY(!verify(*m_db, &before.head).ok);
    }

    void checkNamesMissingAndChangedTriggers()
    {
        QVERIFY(RegisterSchema::check(db(), m_db->name()).complete());
        db().exec(QStringLiteral("DROP TRIGGER tr_iktato_file_nyom_d"));
        db().exec(QStringLiteral("DROP TRIGGER tr_iktato_nyom_u"));
        db().exec(QStringLiteral("CREATE TRIGGER tr_iktato_nyom_u AFTER UPDATE ON iktato FOR EACH ROW BEGIN END"));
        db().exec(QStringLiteral("DROP PROCEDURE sp_nyom_ir"));
        db().exec(QStringLiteral("CREATE PROCEDURE sp_nyom_ir(IN ptabla VARCHAR(16), IN pmuvelet CHAR(1), "
                                 "IN piktato INT, IN pkulcs INT, IN pvaltozas MEDIUMTEXT) BEGIN END"));
        const RegisterSchema::CheckReport r = RegisterSchema::check(db(), m_db->name());
        QVERIFY(!r.complete());
        QCOMPARE(r.missingTriggers, QStringList{"tr_iktato_file_nyom_d"});
        QCOMPARE(r.changedTriggers, (QStringList{"tr_iktato_nyom_u", "PROCEDURE sp_nyom_ir"}));
        QCOMPARE(r.missingRoutines, QStringList());
    }

    void parseHead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        const QString hash(64, QLatin1Char('a'));
        QTest::newRow("plain") << "12:" + hash << true;
        QTest::newRow("upper case") << "12:" + hash.toUpper() << true;
        QTest::newRow("zero") << "0:" + QString(64, QLatin1Char('0')) << true;
        QTest::newRow("short hash") << "12:" + hash.left(63) << false;
        QTest::newRow("no count") << ":" + hash << false;
        QTest::newRow("negative") << "-1:" + hash << false;
        QTest::newRow("not hex") << "12:" + QString(64, QLatin1Char('g')) << false;
        QTest::newRow("sql") << "1;DROP TABLE x:" + hash << false;
    }
    void parseHead()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        TrailVerifier::Head h;
        QCOMPARE(TrailVerifier::parseHead(text, h), valid);
        if (valid)
            QCOMPARE(TrailVerifier::headText(h), text.toLower());
    }

    // Writers on several connections at once take their places one after the other.
    void concurrentWritersKeepOneChain()
    {
        for (int i = 0; i < 8; ++i)
            newDocument(QStringLiteral("Irat %1").arg(i));
        const qint64 mark = trailCount(db());
        constexpr int Writers = 4;
        constexpr int ChangesEach = 30;
        std::vector<std::unique_ptr<Connection>> connections;
        for (int i = 0; i < Writers; ++i)
            connections.push_back(m_db->newConnection());
        QMutex mutex;
        QStringList failures;
        std::atomic<int> ready = 0;
        std::vector<std::thread> threads;
        for (int i = 0; i < Writers; ++i) {
            threads.emplace_back([&, i] {
                Connection &c = *connections[size_t(i)];
                ++ready;
                while (ready.load() < Writers)
                    std::this_thread::yield();
                try {
                    c.exec(QStringLiteral("SET @korvena_felhkod = %1").arg(i + 1));
                    for (int n = 0; n < ChangesEach; ++n) {
                        RunUnit(c, [&] {
                            c.exec(QStringLiteral("UPDATE iktato SET megjegyzes = 'w%1 n%2' WHERE iktato = %3")
                                       .arg(i)
                                       .arg(n)
                                       .arg(1 + (i + n) % 8));
                            c.exec(QStringLiteral("UPDATE iktato SET hivszam = 'w%1 n%2' WHERE iktato = %3")
                                       .arg(i)
                                       .arg(n)
                                       .arg(1 + (i * 3 + n) % 8));
                        });
                    }
                } catch (const std::exception &e) {
                    QMutexLocker lock(&mutex);
                    failures << QString::fromUtf8(e.what());
                }
            });
        }
        for (std::thread &t : threads)
            t.join();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QCOMPARE(trailCount(db()), mark + Writers * ChangesEach * 2);
        const TrailVerifier::Result r = verify(*m_db);
        QVERIFY2(r.ok, qPrintable(r.problem));
        QCOMPARE(r.head.count, mark + Writers * ChangesEach * 2);
    }

    // A register made before the trail: the upgrade adds it and starts the chain from
    // what the register holds.
    void upgradeStartsTheChainFromTheCurrentState()
    {
        for (const char *drop :
             {"DROP TRIGGER tr_iktato_nyom_i", "DROP TRIGGER tr_iktato_nyom_u", "DROP TRIGGER tr_iktato_nyom_d",
              "DROP TRIGGER tr_iktato_file_nyom_i", "DROP TRIGGER tr_iktato_file_nyom_u",
              "DROP TRIGGER tr_iktato_file_nyom_d", "DROP PROCEDURE sp_nyom_ir", "DROP PROCEDURE sp_nyom_kezdet",
              "DROP TABLE iktato_nyom", "DROP TABLE iktato_nyom_fej"})
            db().exec(QString::fromLatin1(drop));
        const qint64 a = newDocument(QStringLiteral("„Régi” irat\\1"));
        newDocument(QStringLiteral("Másik"));
        newFile(a, QStringLiteral("r.pdf"));

        for (const QString &statement : trailScript())
            db().exec(statement);
        db().exec(QStringLiteral("CALL sp_nyom_kezdet()"));
        const QList<TrailRow> rows = trailAfter(db(), 0);
        QCOMPARE(rows.size(), 3);
        for (const TrailRow &t : rows)
            QCOMPARE(t.muvelet, QStringLiteral("A"));
        QCOMPARE(rows[0].valtozas.value("targy").toArray(), pair(QJsonValue(), QJsonValue("„Régi” irat\\1")));
        QCOMPARE(rows[2].tabla, QStringLiteral("iktato_file"));
        QVERIFY2(verify(*m_db).ok, qPrintable(verify(*m_db).problem));

        // Only once: a second start would put the documents into the chain twice.
        QVERIFY_THROWS_EXCEPTION(DbError, db().exec(QStringLiteral("CALL sp_nyom_kezdet()")));
        db().exec(QStringLiteral("UPDATE iktato SET targy = 'Új' WHERE iktato = %1").arg(a));
        QCOMPARE(trailCount(db()), qint64(4));
        QVERIFY(verify(*m_db).ok);
    }
};

QTEST_GUILESS_MAIN(TestTrail)
#include "tst_trail.moc"
