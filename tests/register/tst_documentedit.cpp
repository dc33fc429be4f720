// Registering and editing a document without a window: the questions of a new
// document, the row the server numbers, the change list and what OK writes.
#include "TestDatabase.h"
#include "TestSupport.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "register/DocumentEdit.h"

#include <QtTest>

#include <memory>

namespace {

QString kindName(ClientKind kind)
{
    switch (kind) {
    case ClientKind::All:
        return QStringLiteral("all");
    case ClientKind::Internal:
        return QStringLiteral("internal");
    case ClientKind::External:
        return QStringLiteral("external");
    }
    return {};
}

// Answers every question, logging it; the question numbered cancelAt (from 0) is cancelled.
struct ScriptedQuestions
{
    QStringList log;
    int cancelAt = -1;

    bool cancels() { return int(log.size()) - 1 == cancelAt; }

    RegistrationQuestions questions()
    {
        RegistrationQuestions q;
        q.group = [this] {
            log << QStringLiteral("group");
            return cancels() ? -1 : 1;
        };
        q.client = [this](ClientKind kind, const QString &title) {
            log << title + QLatin1Char(' ') + kindName(kind);
            return cancels() ? -1 : (title == QStringLiteral("Kitől") ? 3 : 4);
        };
        q.mainNumber = [this] {
            log << QStringLiteral("main");
            return cancels() ? -1 : 7;
        };
        q.masterData = [this](MasterTable::Caller caller) {
            const QString table = MasterTable::callModes(caller).table;
            log << table;
            return cancels() ? DocumentChoice{} : DocumentChoice{2, table + QStringLiteral(" kettő")};
        };
        return q;
    }
};

int journalRows(qint64 key)
{
    return SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktnaplo WHERE iktato=%1").arg(key), -1);
}

QString lastJournalText(qint64 key)
{
    return SelectText(
        QStringLiteral("SELECT IFNULL(szoveg, '<NULL>') FROM iktnaplo WHERE iktato=%1 ORDER BY iktnaplo DESC LIMIT 1")
            .arg(key),
        QString());
}

QString column(qint64 key, const char *name)
{
    return SelectText(QStringLiteral("SELECT IFNULL(%1, '<NULL>') FROM iktato WHERE iktato=%2")
                          .arg(QLatin1String(name))
                          .arg(key),
                      QString());
}

} // namespace

class TestDocumentEdit : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        ExecSql(QStringLiteral("INSERT INTO tipus (tipus, tipus_nev) VALUES (2, 'Számla')"));
        ExecSql(QStringLiteral("INSERT INTO munkaszam (munkaszam, munkaszam_nev) VALUES (2, 'M-2')"));
        ExecSql(QStringLiteral("INSERT INTO projekt (projekt, projekt_nev) VALUES (2, 'Híd')"));
        ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (2, 'Pénzügy')"));
    }
    void init()
    {
        resetProcessState();
        Connection::setCurrent(&m_db->connection());
        session().user.code = 1;
    }
    void cleanupTestCase() { m_db.reset(); }

    void questionsFollowTheSettings_data()
    {
        QTest::addColumn<bool>("allOn");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");

        const QStringList masters = {"tipus", "munkaszam", "projekt"};
        QTest::newRow("incoming: external sender, internal addressee")
            << true << 0 << (QStringList{"group", "Kitől external", "Kinek internal", "main"} + masters) << 3 << 4;
        QTest::newRow("outgoing: internal sender, external addressee")
            << true << 1 << (QStringList{"group", "Kitől internal", "Kinek external", "main"} + masters) << 3 << 4;
        QTest::newRow("other documents ask no client")
            << true << 2 << (QStringList{"group", "main"} + masters) << -1 << -1;
        QTest::newRow("all directions: all clients")
            << true << 3 << (QStringList{"group", "Kitől all", "Kinek all", "main"} + masters) << 3 << 4;
        QTest::newRow("settings off: only the clients") << false << 0
                                                        << QStringList{"Kitől external", "Kinek internal"} << 3 << 4;
    }
    void questionsFollowTheSettings()
    {
        QFETCH(bool, allOn);
        QFETCH(int, direction);
        QFETCH(QStringList, asked);
        QFETCH(int, from);
        QFETCH(int, to);

        ProgramSettings s;
        s.vancsoport = s.vanfoszam = s.vantipuskerdes = s.vanmunkaszamkerdes = s.vanprojektkerdes = allOn;
        s.alapcsoport = 5;
        ScriptedQuestions script;
        const auto answers = DocumentRegistration::ask(s, direction, script.questions());
        QVERIFY(answers);
        QCOMPARE(script.log, asked);
        QCOMPARE(answers->group, allOn ? 1 : 5);
        QCOMPARE(answers->clientFrom, from);
        QCOMPARE(answers->clientTo, to);
        QCOMPARE(answers->mainNumber, allOn ? 7 : 0);
        QCOMPARE(answers->type.has_value(), allOn);
        if (allOn)
            QCOMPARE(answers->project->name, QStringLiteral("projekt kettő"));
    }

    void aCancelledQuestionCreatesNothing_data()
    {
        QTest::addColumn<int>("cancelAt");
        const char *names[] = {"group", "sender", "addressee", "main number", "type", "work number", "project"};
        for (int i = 0; i < 7; ++i)
            QTest::newRow(names[i]) << i;
    }
    void aCancelledQuestionCreatesNothing()
    {
        QFETCH(int, cancelAt);
        ProgramSettings s;
        s.vancsoport = s.vanfoszam = s.vantipuskerdes = s.vanmunkaszamkerdes = s.vanprojektkerdes = true;
        ScriptedQuestions script;
        script.cancelAt = cancelAt;
        QVERIFY(!DocumentRegistration::ask(s, 0, script.questions()));
        QCOMPARE(int(script.log.size()), cancelAt + 1);
    }

    void serialMainNumberReplacesThePickedOne()
    {
        ExecSql(QStringLiteral("INSERT INTO iktato (az1, az2, targy) VALUES (41, 1, 'régi')"));
        ProgramSettings s;
        s.vanfoszam = s.foszamsorszam = true;
        ScriptedQuestions script;
        const auto answers = DocumentRegistration::ask(s, 2, script.questions());
        QVERIFY(answers);
        QCOMPARE(script.log, QStringList{"main"});
        QCOMPARE(answers->mainNumber, SelectInt(QStringLiteral("SELECT MAX(az1) FROM iktato"), 0) + 1);
    }

    void aNewDocumentIsNumberedAndSavedWithOneJournalRow()
    {
        NewDocumentAnswers a;
        a.group = 2;
        a.clientFrom = 3;
        a.clientTo = -1;
        a.type = DocumentChoice{2, QStringLiteral("Számla")};
        DocumentEdit edit = DocumentEdit::create(a, 1, 1);
        QVERIFY(edit.key() > 0);
        QCOMPARE(column(edit.key(), "csoport"), QStringLiteral("2"));
        QCOMPARE(column(edit.key(), "irany"), QStringLiteral("1"));
        QCOMPARE(column(edit.key(), "ugyf_kitol"), QStringLiteral("3"));

        // The record: the table's columns in order, then the four names the UPDATE leaves out.
        const QList<EditField> &fields = edit.record().fields();
        QCOMPARE(fields.first().name, QStringLiteral("iktato"));
        QStringList outside;
        for (const EditField &f : fields)
            if (!f.inTable)
                outside << f.name;
        QCOMPARE(outside, (QStringList{"projekt_nev", "munkaszam_nev", "tipus_nev", "egyebcsop_nev"}));
        // Only the answers that were asked differ from the row the server made.
        QCOMPARE(edit.changedColumns(), QStringList{"tipus"});
        QCOMPARE(edit.record().value(u"tipus_nev").toString(), QStringLiteral("Számla"));

        edit.record().setBoxText(u"targy", QStringLiteral("Ajánlat"));
        edit.setPending(QStringLiteral("targy"), QStringLiteral("Ajánlat"));
        edit.flushPending();
        edit.flushPending(); // an empty pending line adds nothing
        edit.choose(QStringLiteral("projekt"), 2, QStringLiteral("Híd"), QStringLiteral("projekt_nev"));
        QCOMPARE(edit.updateStatement(), QStringLiteral("UPDATE iktato SET targy='Ajánlat',projekt=2,tipus=2 "
                                                        "WHERE iktato=%1;")
                                             .arg(edit.key()));
        edit.save();
        QCOMPARE(column(edit.key(), "targy"), QStringLiteral("Ajánlat"));
        QCOMPARE(column(edit.key(), "tipus"), QStringLiteral("2"));
        QCOMPARE(journalRows(edit.key()), 1);
        QCOMPARE(lastJournalText(edit.key()), QStringLiteral("targy = Ajánlat\r\nprojekt = Híd\r\n"));
    }

    void okWithoutChangesWritesAnEmptyJournalRowOnly()
    {
        DocumentEdit edit = DocumentEdit::create(NewDocumentAnswers{}, 0, 1);
        QVERIFY(edit.updateStatement().isEmpty());
        edit.save();
        QCOMPARE(journalRows(edit.key()), 1);
        QCOMPARE(lastJournalText(edit.key()), QString());
    }

    // Two workstations on one document: each writes only what it changed.
    void concurrentEditsOfDifferentFieldsBothSurvive()
    {
        const qint64 key = DocumentEdit::create(NewDocumentAnswers{}, 0, 1).key();
        DocumentEdit first = DocumentEdit::open(key);
        DocumentEdit second = DocumentEdit::open(key);
        first.record().setBoxText(u"targy", QStringLiteral("Első tárgy"));
        second.record().setBoxText(u"hivszam", QStringLiteral("H-22"));
        first.save();
        second.save();
        QCOMPARE(column(key, "targy"), QStringLiteral("Első tárgy"));
        QCOMPARE(column(key, "hivszam"), QStringLiteral("H-22"));
    }

    void twoWorkstationsGetTwoSerialNumbers()
    {
        auto other = m_db->newConnection();
        const qint64 a = DocumentEdit::create(NewDocumentAnswers{}, 0, 1).key();
        qint64 b = -1;
        {
            CurrentConnectionScope scope(other.get());
            b = DocumentEdit::create(NewDocumentAnswers{}, 0, 1).key();
        }
        QVERIFY(a != b);
        QVERIFY(column(a, "iktato2") != column(b, "iktato2"));
    }

    void groupChangeIsJournalledAtOnce()
    {
        const qint64 key = DocumentEdit::create(NewDocumentAnswers{1}, 0, 1).key();
        {
            DocumentEdit edit = DocumentEdit::open(key);
            edit.changeGroup(2, QStringLiteral("Pénzügy"));
            QCOMPARE(edit.changes(), QStringList{"csoport = Pénzügy"});
        } // dropped: cancelled
        QCOMPARE(journalRows(key), 1);
        QCOMPARE(lastJournalText(key), DocumentEdit::groupChangeWarning());
        QCOMPARE(column(key, "csoport"), QStringLiteral("1"));
    }

    void aDocumentWithoutDateOpensAndAsksForIt()
    {
        ExecSql(QStringLiteral("INSERT INTO iktato (az1, targy, dat_erk, dat_hatid) VALUES (1, 'Import', NULL, NULL)"));
        const qint64 key = m_db->connection().lastInsertId();
        DocumentEdit edit = DocumentEdit::open(key);
        QVERIFY(edit.record().isNull(u"dat_erk"));
        QCOMPARE(edit.refusal(), QStringLiteral("Add meg a beérkezés dátumát!"));
        edit.record().setValue(u"dat_erk", QDate(2024, 5, 6));
        QVERIFY(edit.refusal().isEmpty());
        edit.save();
        QCOMPARE(column(key, "dat_erk"), QStringLiteral("2024-05-06"));
        QCOMPARE(column(key, "dat_hatid"), QStringLiteral("<NULL>"));
    }

    void textIsStoredAsTypedOrRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("storable");
        QTest::newRow("Hungarian quotes and a dash") << "targy" << "„Ajánlat” – őszi ütem" << true;
        QTest::newRow("euro sign and ellipsis") << "kulcsszavak" << "ár € …" << true;
        QTest::newRow("Cyrillic") << "targy" << "Привет" << false;
        QTest::newRow("emoji in the remark") << "megjegyzes" << "kész 😀" << false;
    }
    void textIsStoredAsTypedOrRefused()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, storable);
        const qint64 key = DocumentEdit::create(NewDocumentAnswers{}, 0, 1).key();
        DocumentEdit edit = DocumentEdit::open(key);
        edit.record().setBoxText(field, text);
        QCOMPARE(edit.refusal().isEmpty(), storable);
        if (!storable) {
            QVERIFY(edit.refusal().contains(QStringLiteral("nem tud tárolni")));
            return;
        }
        edit.save();
        QCOMPARE(DocumentEdit::open(key).record().value(field).toString(), text);
    }

    void subNumbersFollowEachOther()
    {
        const int first = DocumentEdit::nextSubNumber(900);
        QCOMPARE(DocumentEdit::nextSubNumber(900), first + 1);
    }
};

QTEST_GUILESS_MAIN(TestDocumentEdit)
#include "tst_documentedit.moc"
