// The server routines the client calls: registering and numbering, statuses,
// envelopes, lent-out documents and the online-store hand-over.
#include "TestDatabase.h"
#include "db/Connection.h"

#include <QTest>

namespace {

const QVariant Null;

} // namespace

class TestRoutines : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    Connection &db() { return m_db->connection(); }
    int count(const QString &sql) { return db().selectValue(sql).toInt(); }

    Dataset registerDocument(int group = 1, int direction = 0, int from = -1, int to = -1, int mainNumber = 0,
                             int user = 1)
    {
        return db().call(QStringLiteral("sp_iktato"), {-1, group, direction, from, to, mainNumber, user});
    }
    qint64 nextSubNumber(int mainNumber)
    {
        const Dataset d = db().call(QStringLiteral("sp_maxaz2"), {mainNumber});
        return d.toInt(0, d.requireField(u"maxaz2"));
    }
    // The server's clock for this session only: CURDATE() inside the routines follows it.
    void setToday(const QDate &date)
    {
        db().exec(
            QStringLiteral("SET timestamp = UNIX_TIMESTAMP('%1 12:00:00')").arg(date.toString(Qt::ISODate)));
    }
    void setting(const char *column, const char *value)
    {
        db().exec(QStringLiteral("UPDATE beallit SET %1 = '%2'")
                      .arg(QString::fromLatin1(column), QString::fromLatin1(value)));
    }

private Q_SLOTS:
    void initTestCase() { m_db = std::make_unique<TestDatabase>(); }
    void cleanupTestCase() { m_db.reset(); }
    void cleanup()
    {
        db().exec(QStringLiteral("SET timestamp = DEFAULT"));
        setting("mindigegyrolindul", "N");
        setting("alszamevenkent", "N");
    }

    void newDocumentRow_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("storedDirection");
        QTest::addColumn<int>("storedFrom");
        QTest::addColumn<int>("storedTo");
        QTest::newRow("incoming with clients") << 0 << 5 << 6 << 0 << 5 << 6;
        QTest::newRow("outgoing") << 1 << 6 << 5 << 1 << 6 << 5;
        QTest::newRow("other, no clients") << 2 << -1 << -1 << 2 << 0 << 0;
        QTest::newRow("list of all directions registers incoming") << 3 << -1 << 7 << 0 << 0 << 7;
    }
    void newDocumentRow()
    {
        QFETCH(int, direction);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, storedDirection);
        QFETCH(int, storedFrom);
        QFETCH(int, storedTo);
        const QDate today = db().selectValue(QStringLiteral("SELECT CURDATE()")).toDate();
        const Dataset d = registerDocument(1, direction, from, to, 0, 3);
        QCOMPARE(d.rowCount(), 1);

        // every document column in the table's order, then the four names
        const Dataset columns =
            db().query(QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE "
                                      "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'iktato' "
                                      "ORDER BY ORDINAL_POSITION"));
        QStringList expected;
        for (int r = 0; r < columns.rowCount(); ++r)
            expected << columns.text(r, 0);
        expected << "projekt_nev"
                 << "munkaszam_nev"
                 << "tipus_nev"
                 << "egyebcsop_nev";
        QStringList names;
        for (const Field &f : d.fields())
            names << f.name;
        QCOMPARE(names, expected);

        QVERIFY(d.toInt(u"iktato") > 0);
        QCOMPARE(d.toDate(0, d.requireField(u"dat_erk")), today);
        QCOMPARE(d.toDate(0, d.requireField(u"dat_hatid")), today.addDays(30));
        QCOMPARE(d.toDate(0, d.requireField(u"dat_megorzes")), today.addYears(10));
        QCOMPARE(d.text(u"torolve"), QStringLiteral("N"));
        QCOMPARE(d.text(u"nyomtatni"), QStringLiteral("N"));
        QCOMPARE(d.text(u"kolcsonadva"), QStringLiteral("N"));
        QCOMPARE(d.toInt(u"irany"), storedDirection);
        QCOMPARE(d.toInt(u"ugyf_kitol"), storedFrom);
        QCOMPARE(d.toInt(u"ugyf_hova"), storedTo);
        QCOMPARE(d.toInt(u"csoport"), 1);
        QCOMPARE(d.toInt(u"felhkod"), 3);
        QCOMPARE(d.toInt(u"az1"), 0);
        QVERIFY(d.isNull(0, d.requireField(u"az2")));
        QVERIFY(d.toInt(u"iktato2") > 0);
    }

    void serialNumbersFollowOneAnother()
    {
        const qint64 first = registerDocument().toInt(u"iktato2");
        QCOMPARE(registerDocument().toInt(u"iktato2"), first + 1);
        QCOMPARE(registerDocument(2, 1).toInt(u"iktato2"), first + 2);
    }

    // Inside the caller's transaction the routines leave the COMMIT to it: rolled back,
    // neither the document, nor its number, nor the status change is there. Outside
    // one, each commits itself (every other test here calls them so).
    void routinesJoinTheCallersTransaction()
    {
        const qint64 key = registerDocument().toInt(u"iktato");
        const qint64 serial = count(QStringLiteral("SELECT iktato2 FROM iktato WHERE iktato=%1").arg(key));
        const int documents = count(QStringLiteral("SELECT COUNT(*) FROM iktato"));
        const int journal = count(QStringLiteral("SELECT COUNT(*) FROM iktnaplo"));
        db().exec(QStringLiteral("START TRANSACTION"));
        const qint64 inside = registerDocument().toInt(u"iktato");
        db().call(QStringLiteral("sp_setstatusz"), {key, 2, 4});
        QCOMPARE(db().selectValue(QStringLiteral("SELECT @@in_transaction")).toInt(), 1);
        db().exec(QStringLiteral("ROLLBACK"));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE iktato=%1").arg(inside)), 0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato")), documents);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktnaplo")), journal);
        QCOMPARE(count(QStringLiteral("SELECT IFNULL(statusz, 0) FROM iktato WHERE iktato=%1").arg(key)), 0);
        QCOMPARE(registerDocument().toInt(u"iktato2"), serial + 1);
    }

    void existingKeyReturnsTheRowWithNames()
    {
        const int key = int(registerDocument().toInt(u"iktato"));
        db().exec(QStringLiteral("INSERT INTO projekt (projekt, projekt_nev) VALUES (31, 'Út')"));
        db().exec(QStringLiteral("INSERT INTO munkaszam (munkaszam, munkaszam_nev) VALUES (32, 'MSZ')"));
        db().exec(QStringLiteral("INSERT INTO tipus (tipus, tipus_nev) VALUES (33, 'Levél')"));
        db().exec(
            QStringLiteral("INSERT INTO egyebcsop (egyebcsop, egyebcsop_nev) VALUES (34, 'Egyéb csop')"));
        db().exec(QStringLiteral("UPDATE iktato SET projekt=31, munkaszam=32, tipus=33, egyebcsop=34, "
                                 "targy='Árajánlat' WHERE iktato=%1")
                      .arg(key));
        const int before = count(QStringLiteral("SELECT COUNT(*) FROM iktato"));
        const Dataset d = db().call(QStringLiteral("sp_iktato"), {key, Null, Null, Null, Null, Null, Null});
        QCOMPARE(d.rowCount(), 1);
        QCOMPARE(d.toInt(u"iktato"), key);
        QCOMPARE(d.text(u"targy"), QStringLiteral("Árajánlat"));
        QCOMPARE(d.text(u"projekt_nev"), QStringLiteral("Út"));
        QCOMPARE(d.text(u"munkaszam_nev"), QStringLiteral("MSZ"));
        QCOMPARE(d.text(u"tipus_nev"), QStringLiteral("Levél"));
        QCOMPARE(d.text(u"egyebcsop_nev"), QStringLiteral("Egyéb csop"));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato")), before);
        QCOMPARE(
            db().call(QStringLiteral("sp_iktato"), {999999, Null, Null, Null, Null, Null, Null}).rowCount(),
            0);
    }

    void missingGroupFallsBackToTheDefaultGroup()
    {
        db().exec(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (8, 'Alap')"));
        db().exec(QStringLiteral("UPDATE beallit SET alapcsoport = 8"));
        const Dataset d = db().call(QStringLiteral("sp_iktato"), {-1, Null, 0, -1, -1, 0, 1});
        QCOMPARE(d.toInt(u"csoport"), 8);
        // group 0 is kept: a user without groups registers into it
        QCOMPARE(registerDocument(0).toInt(u"csoport"), 0);
        db().exec(QStringLiteral("UPDATE beallit SET alapcsoport = 1"));
    }

    void mainNumberGivesTheNextSubNumber()
    {
        const Dataset first = registerDocument(1, 0, -1, -1, 15);
        QCOMPARE(first.toInt(u"az1"), 15);
        QCOMPARE(first.toInt(u"az2"), 1);
        QCOMPARE(registerDocument(1, 0, -1, -1, 15).toInt(u"az2"), 2);
        QCOMPARE(nextSubNumber(15), 3);
        QCOMPARE(nextSubNumber(15), 4); // a number handed out is not handed out again
        QCOMPARE(nextSubNumber(16), 1);

        // a sub-number typed by hand above the counter moves it on
        db().exec(QStringLiteral("UPDATE iktato SET az2 = 40 WHERE iktato = %1").arg(first.toInt(u"iktato")));
        QCOMPARE(nextSubNumber(15), 41);

        const Dataset d = db().call(QStringLiteral("sp_maxaz2"), {15});
        QCOMPARE(d.fieldCount(), 1);
        QCOMPARE(d.rowCount(), 1);
        QCOMPARE(d.field(0).type, FieldType::BigInt);
    }

    void subNumbersRestartYearlyWhenSet_data()
    {
        QTest::addColumn<QString>("yearly");
        QTest::addColumn<int>("mainNumber");
        QTest::addColumn<qint64>("firstOfNextYear");
        QTest::newRow("alszamevenkent on") << "I" << 50 << qint64(1);
        QTest::newRow("alszamevenkent off") << "N" << 51 << qint64(3);
    }
    void subNumbersRestartYearlyWhenSet()
    {
        QFETCH(QString, yearly);
        QFETCH(int, mainNumber);
        QFETCH(qint64, firstOfNextYear);
        setting("alszamevenkent", yearly.toLatin1().constData());
        setToday(QDate(2023, 12, 31));
        QCOMPARE(registerDocument(1, 0, -1, -1, mainNumber).toInt(u"az2"), 1);
        QCOMPARE(nextSubNumber(mainNumber), 2);
        setToday(QDate(2024, 1, 1));
        QCOMPARE(nextSubNumber(mainNumber), firstOfNextYear);
        QCOMPARE(registerDocument(1, 0, -1, -1, mainNumber).toInt(u"az2"), firstOfNextYear + 1);
    }

    void serialNumbersRestartYearlyWhenSet()
    {
        setting("mindigegyrolindul", "I");
        setToday(QDate(2031, 12, 31));
        const Dataset last = registerDocument();
        QCOMPARE(last.toInt(u"iktato2"), 1);
        QCOMPARE(last.toDate(0, last.requireField(u"dat_erk")), QDate(2031, 12, 31));
        QCOMPARE(registerDocument().toInt(u"iktato2"), 2);
        setToday(QDate(2032, 1, 1));
        QCOMPARE(registerDocument().toInt(u"iktato2"), 1);

        // off again: one running sequence, after the largest number used without restarts
        setting("mindigegyrolindul", "N");
        const qint64 running = registerDocument().toInt(u"iktato2");
        QVERIFY(running > 2);
        QCOMPARE(registerDocument().toInt(u"iktato2"), running + 1);
    }

    // Whatever the yearly restart was when a number was handed out, and wherever
    // a document came from, the next number is above every number its sequence
    // (the year, or all documents) already holds. Steps: "I" / "N" switch the
    // restart on / off, a number registers a document and expects that number,
    // "=n" puts in a document from elsewhere numbered n (arriving today, or on
    // the date after '@'), "@date" moves today.
    void numbersNeverRepeatInTheirSequence_data()
    {
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QStringList>("steps");
        const QString serial = QStringLiteral("iktato2"), sub = QStringLiteral("az2");
        QTest::newRow("serial: restart on, off, on again")
            << serial << QStringList{"I", "1", "2", "N", "3", "I", "4", "5"};
        QTest::newRow("serial: restart off, on, off again")
            << serial << QStringList{"N", "1", "2", "I", "3", "N", "4"};
        QTest::newRow("serial: imported ahead of the running counter")
            << serial << QStringList{"N", "1", "=10", "11", "12"};
        QTest::newRow("serial: imported ahead of the yearly counter")
            << serial << QStringList{"I", "1", "=7", "8", "@2031-01-02", "1"};
        QTest::newRow("serial: an import of another year counts only without restart")
            << serial << QStringList{"I", "1", "=50@2029-05-05", "2", "N", "51"};
        QTest::newRow("sub-number: restart on, off, on again")
            << sub << QStringList{"I", "1", "2", "N", "3", "I", "4"};
        QTest::newRow("sub-number: typed ahead in another year")
            << sub << QStringList{"I", "1", "=30@2029-02-01", "2", "N", "31"};
    }
    void numbersNeverRepeatInTheirSequence()
    {
        QFETCH(QString, counter);
        QFETCH(QStringList, steps);
        // The sequence without restart spans every document: a register of its own.
        m_db.reset();
        m_db = std::make_unique<TestDatabase>();
        const char *setting = counter == QLatin1String("iktato2") ? "mindigegyrolindul" : "alszamevenkent";
        const int mainNumber = counter == QLatin1String("iktato2") ? 0 : 90;
        QDate today(2030, 3, 1);
        setToday(today);
        for (const QString &step : steps) {
            if (step == QLatin1String("I") || step == QLatin1String("N")) {
                this->setting(setting, step == QLatin1String("I") ? "I" : "N");
            } else if (step.startsWith(QLatin1Char('@'))) {
                today = QDate::fromString(step.mid(1), Qt::ISODate);
                setToday(today);
            } else if (step.startsWith(QLatin1Char('='))) {
                const QStringList parts = step.mid(1).split(QLatin1Char('@'));
                const QDate arrived = parts.size() > 1 ? QDate::fromString(parts[1], Qt::ISODate) : today;
                db().exec(
                    QStringLiteral("INSERT INTO iktato (%1, az1, dat_erk, csoport) VALUES (%2, %3, '%4', 1)")
                        .arg(counter, parts[0])
                        .arg(mainNumber)
                        .arg(arrived.toString(Qt::ISODate)));
            } else {
                const Dataset d = registerDocument(1, 0, -1, -1, mainNumber);
                QVERIFY2(
                    d.toInt(counter) == step.toInt(),
                    qPrintable(QStringLiteral("%1 expected, %2 handed out").arg(step).arg(d.toInt(counter))));
            }
        }
    }

    // Documents that came from elsewhere (a restore, an import) carry numbers the
    // counters never handed out: the first new one continues after them.
    void numberingContinuesImportedDocuments()
    {
        setting("mindigegyrolindul", "I");
        setToday(QDate(2035, 6, 1));
        db().exec(QStringLiteral("INSERT INTO iktato (iktato2, dat_erk, csoport, az1, az2) VALUES "
                                 "(41, '2035-02-01', 1, 90, 7), (12, '2034-02-01', 1, 90, 30)"));
        QCOMPARE(registerDocument().toInt(u"iktato2"), 42);
        setting("alszamevenkent", "I");
        QCOMPARE(nextSubNumber(90), 8);
    }

    void statusIsSetAndJournaled()
    {
        db().exec(
            QStringLiteral("INSERT INTO statusz (statusz, statusz_nev, kesz) VALUES (4, 'Lezárva', 'I')"));
        const int key = int(registerDocument().toInt(u"iktato"));
        const Dataset none = db().call(QStringLiteral("sp_setstatusz"), {key, 2, 4});
        QCOMPARE(none.fieldCount(), 0);
        QCOMPARE(count(QStringLiteral("SELECT statusz FROM iktato WHERE iktato=%1").arg(key)), 4);
        QCOMPARE(
            db().selectValue(QStringLiteral("SELECT kesz FROM vw_iktato WHERE iktato=%1 AND fcs=1").arg(key))
                .toString(),
            QStringLiteral("I"));
        const Dataset j =
            db().query(QStringLiteral("SELECT felhkod, szoveg FROM iktnaplo WHERE iktato=%1").arg(key));
        QCOMPARE(j.rowCount(), 1);
        QCOMPARE(j.toInt(0, 0), 2);
        QCOMPARE(j.text(0, 1), QStringLiteral("statusz = Lezárva (4)"));

        db().call(QStringLiteral("sp_setstatusz"),
                  {key, 2, 7}); // a code without a status row is stored all the same
        QCOMPARE(count(QStringLiteral("SELECT statusz FROM iktato WHERE iktato=%1").arg(key)), 7);
        const int journal = count(QStringLiteral("SELECT COUNT(*) FROM iktnaplo"));
        db().call(QStringLiteral("sp_setstatusz"), {999999, 2, 4}); // no such document: nothing happens
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktnaplo")), journal);
    }

    void envelopeAddress()
    {
        db().exec(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, irsz, varos, cim, ui) VALUES "
                                 "(61, 'Címzett Kft.', '1051', 'Budapest', 'Fő utca 1.', 'Kovács Éva'), "
                                 "(62, 'Magán', '7621', 'Pécs', 'Tér 2.', NULL)"));
        const Dataset d = db().call(QStringLiteral("sp_boritek"), {61});
        QCOMPARE(d.rowCount(), 1);
        QStringList names;
        for (const Field &f : d.fields())
            names << f.name;
        QCOMPARE(names, (QStringList{"ugyfel_nev", "irsz", "varos", "cim", "ui2"}));
        QCOMPARE(d.text(u"ugyfel_nev"), QStringLiteral("Címzett Kft."));
        QCOMPARE(d.text(u"ui2"), QStringLiteral("Kovács Éva"));
        QCOMPARE(db().call(QStringLiteral("sp_boritek"), {62}).text(u"ui2"), QString());
        QCOMPARE(db().call(QStringLiteral("sp_boritek"), {999}).rowCount(), 0);
    }

    void lentOutDocumentsOfTheUser()
    {
        db().exec(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (70, 'Kölcsön')"));
        db().exec(QStringLiteral("INSERT INTO felhkod_csoport (felhkod, csoport) VALUES (70, 70), (71, 70)"));
        const int lent = int(registerDocument(70).toInt(u"iktato"));
        const int kept = int(registerDocument(70).toInt(u"iktato"));
        const int deleted = int(registerDocument(70).toInt(u"iktato"));
        const int otherGroup = int(registerDocument(1).toInt(u"iktato"));
        db().exec(QStringLiteral("UPDATE iktato SET kolcsonadva='I', kolcsonadva_dat='2024-02-01', "
                                 "kolcsonadva_kinek='Nagy Béla' WHERE iktato IN (%1, %2, %3)")
                      .arg(lent)
                      .arg(deleted)
                      .arg(otherGroup));
        db().exec(QStringLiteral("UPDATE iktato SET torolve='I' WHERE iktato=%1").arg(deleted));
        Q_UNUSED(kept);

        const Dataset d = db().call(QStringLiteral("sp_kiadott"), {70});
        QCOMPARE(d.rowCount(), 1);
        QCOMPARE(d.toInt(u"iktato"), lent);
        QCOMPARE(d.text(u"kolcsonadva_kinek"), QStringLiteral("Nagy Béla"));
        // the list's columns up to the group name, nothing after it
        QCOMPARE(d.field(d.fieldCount() - 1).name, QStringLiteral("csoport_nev"));
        for (const char *name : {"az1", "az2", "targy", "dat_erk", "irany", "kolcsonadva_dat",
                                 "ugyf_kitol_nev", "ugyf_kinek_nev"})
            QVERIFY2(d.hasField(QString::fromLatin1(name)), name);
        QVERIFY(!d.hasField(u"iktatoaz"));
        QCOMPARE(db().call(QStringLiteral("sp_kiadott"), {72}).rowCount(), 0);
    }

    void fileHandedToTheOnlineStore()
    {
        db().exec(QStringLiteral(
            "INSERT INTO ugyfel (ugyfel, ugyfel_nev, kellsorvika) VALUES (81, 'Ügyintéző', 'I')"));
        const int key = int(registerDocument().toInt(u"iktato"));
        db().exec(QStringLiteral("UPDATE iktato SET ugyf_intezkedesre=81 WHERE iktato=%1").arg(key));
        const Dataset none = db().call(QStringLiteral("sp_svadd"), {key, QStringLiteral("o'kelly levél.pdf"),
                                                                    QStringLiteral("application/pdf")});
        QCOMPARE(none.fieldCount(), 0);
        const Dataset d = db().query(QStringLiteral("SELECT * FROM sv_file WHERE iktato=%1").arg(key));
        QCOMPARE(d.rowCount(), 1);
        QCOMPARE(d.toInt(u"ugyfel"), 81);
        QCOMPARE(d.text(u"filenev"), QStringLiteral("o'kelly levél.pdf"));
        QCOMPARE(d.text(u"mime"), QStringLiteral("application/pdf"));
    }
};

QTEST_GUILESS_MAIN(TestRoutines)
#include "tst_routines.moc"
