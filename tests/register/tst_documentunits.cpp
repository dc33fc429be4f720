// A change to a document and its journal row commit together or not at all, and two
// workstations on one document do not undo each other's lending.
#include "DocumentFixture.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "register/DocumentEdit.h"
#include "register/Lending.h"
#include "register/Marking.h"
#include "register/Reminders.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString cell(qint64 key, const char *column)
{
    return SelectText(QStringLiteral("SELECT IFNULL(%1, '<NULL>') FROM iktato WHERE iktato=%2")
                          .arg(QLatin1String(column))
                          .arg(key),
                      QStringLiteral("<no row>"));
}

int journalRows(qint64 key)
{
    return SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktnaplo WHERE iktato=%1").arg(key), -1);
}

// A change that journals, on document 103; the column it changes and the value it leaves.
struct Change
{
    std::function<void()> run;
    const char *column;
    QString changed;
};

Change change(const QString &name)
{
    if (name == QLatin1String("save"))
        return {[] {
                    DocumentEdit edit = DocumentEdit::open(103);
                    edit.record().setBoxText(u"targy", QStringLiteral("Új tárgy"));
                    edit.addChange(QStringLiteral("targy"), QStringLiteral("Új tárgy"));
                    edit.save();
                },
                "targy", QStringLiteral("Új tárgy")};
    if (name == QLatin1String("delete"))
        return {[] { DocumentEdit::remove(103); }, "torolve", QStringLiteral("I")};
    return {[] { Marking::setStatus(103, 1, 5); }, "statusz", QStringLiteral("5")};
}

} // namespace

class TestDocumentUnits : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    void kill(Connection &victim)
    {
        auto other = m_db->newConnection();
        other->exec(QStringLiteral("KILL ") + QString::number(victim.threadId()));
    }

private Q_SLOTS:
    void initTestCase() { m_db = std::make_unique<TestDatabase>(); }
    void init()
    {
        resetProcessState();
        Connection::setCurrent(&m_db->connection());
        session().user.code = 1;
        for (const char *table : {"iktato", "iktato_file", "iktnaplo", "statusz", "ugyfel", "tipus", "egyebcsop"})
            ExecSql(QStringLiteral("DELETE FROM ") + QLatin1String(table));
        ExecSql(QStringLiteral("DELETE FROM csoport WHERE csoport <> 1"));
        ExecSql(QStringLiteral("DROP TRIGGER IF EXISTS tr_journal_fails"));
        DocumentFixture::load();
    }
    void cleanup()
    {
        UnitOfWork::setStatementHookForTests({});
        ExecSql(QStringLiteral("DROP TRIGGER IF EXISTS tr_journal_fails"));
    }
    void cleanupTestCase() { m_db.reset(); }

    // The journal cannot be written: the change is not there either.
    void aFailedJournalRowUndoesTheChange_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("editor OK") << "save";
        QTest::newRow("delete") << "delete";
        QTest::newRow("status") << "status";
    }
    void aFailedJournalRowUndoesTheChange()
    {
        QFETCH(QString, name);
        const Change c = change(name);
        const QString before = cell(103, c.column);
        ExecSql(QStringLiteral("CREATE TRIGGER tr_journal_fails BEFORE INSERT ON iktnaplo FOR EACH ROW "
                               "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'journal full'"));
        QVERIFY_THROWS_EXCEPTION(DbError, c.run());
        QCOMPARE(cell(103, c.column), before);
        QCOMPARE(journalRows(103), 0);
    }

    // The link goes between the change and its journal row: the unit runs again and
    // both are there, once.
    void aLinkLostBeforeTheJournalRowRunsTheChangeAgain_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("editor OK") << "save";
        QTest::newRow("delete") << "delete";
    }
    void aLinkLostBeforeTheJournalRowRunsTheChangeAgain()
    {
        QFETCH(QString, name);
        const Change c = change(name);
        bool killed = false;
        UnitOfWork::setStatementHookForTests([&](Connection &on, const QString &sql) {
            if (!killed && sql.startsWith(QLatin1String("INSERT INTO iktnaplo"))) {
                killed = true;
                kill(on);
            }
        });
        c.run();
        QVERIFY(killed);
        QCOMPARE(cell(103, c.column), c.changed);
        QCOMPARE(journalRows(103), 1);
    }

    // The widget-free registration is one unit: a conflict the server resolved by failing
    // sp_iktato registers the document once, on the next try.
    void registrationRunsAgainAfterAConflict()
    {
        bool failed = false;
        UnitOfWork::setStatementHookForTests([&](Connection &, const QString &sql) {
            if (!failed && sql.startsWith(QLatin1String("CALL sp_iktato(-1"))) {
                failed = true;
                throw DbError(QStringLiteral("Deadlock found when trying to get lock"), 1213);
            }
        });
        const int before = SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato"), -1);
        const DocumentEdit edit = DocumentEdit::create(NewDocumentAnswers{}, 0, 1);
        QVERIFY(failed);
        QVERIFY(edit.key() > 0);
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato"), -1), before + 1);
    }

    // Workstation B lends or takes back first; A acts on what its list showed before.
    void theSecondWorkstationIsRefused_data()
    {
        QTest::addColumn<QString>("flag"); // the document's flag before either acts
        QTest::addColumn<bool>("lending");
        QTest::addColumn<bool>("otherActsFirst");
        QTest::addColumn<bool>("changed");
        QTest::newRow("lend") << "N" << true << false << true;
        QTest::newRow("lend, lent meanwhile") << "N" << true << true << false;
        QTest::newRow("lend NULL") << "NULL" << true << false << true;
        QTest::newRow("lend lower-case i") << "'i'" << true << false << true;
        QTest::newRow("take back") << "I" << false << false << true;
        QTest::newRow("take back, returned meanwhile") << "I" << false << true << false;
        QTest::newRow("take back NULL") << "NULL" << false << false << true;
    }
    void theSecondWorkstationIsRefused()
    {
        QFETCH(QString, flag);
        QFETCH(bool, lending);
        QFETCH(bool, otherActsFirst);
        QFETCH(bool, changed);
        const QString value = flag.size() == 1 ? QLatin1Char('\'') + flag + QLatin1Char('\'') : flag;
        ExecSql(QStringLiteral("UPDATE iktato SET kolcsonadva=%1, kolcsonadva_kinek='Első' WHERE iktato=103")
                    .arg(value));
        if (otherActsFirst) {
            auto b = m_db->newConnection();
            CurrentConnectionScope scope(b.get());
            QVERIFY(lending ? Lending::lend(103, QDate(2024, 5, 1), QStringLiteral("Bé"))
                            : Lending::takeBack(103));
        }
        const QString before = cell(103, "kolcsonadva_kinek");
        const bool done =
            lending ? Lending::lend(103, QDate(2024, 5, 2), QStringLiteral("Á")) : Lending::takeBack(103);
        QCOMPARE(done, changed);
        if (changed) {
            QCOMPARE(cell(103, "kolcsonadva"), QString(lending ? "I" : "N"));
            QCOMPARE(cell(103, "kolcsonadva_kinek"), QString(lending ? "Á" : ""));
        } else {
            // the first workstation's borrower (or return) stands
            QCOMPARE(cell(103, "kolcsonadva_kinek"), before);
        }
    }

    // The reminder dialog starts from what the server holds, not from the list.
    void theReminderIsReadFromTheServer()
    {
        auto b = m_db->newConnection();
        {
            CurrentConnectionScope scope(b.get());
            Reminders::set(103, QDate(2025, 6, 1), QStringLiteral("Másik gép"));
        }
        auto stored = Reminders::stored(103);
        QVERIFY(stored);
        QCOMPARE(stored->date, QDate(2025, 6, 1));
        QCOMPARE(stored->text, QStringLiteral("Másik gép"));
        {
            CurrentConnectionScope scope(b.get());
            Reminders::clear(103);
        }
        stored = Reminders::stored(103);
        QVERIFY(stored);
        QVERIFY(!stored->date.isValid());
        QVERIFY(stored->text.isEmpty());
        QVERIFY(!Reminders::stored(99999));
    }
};

QTEST_GUILESS_MAIN(TestDocumentUnits)
#include "tst_documentunits.moc"
