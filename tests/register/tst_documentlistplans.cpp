#include "TestDatabase.h"
#include "TestSupport.h"
#include "db/DbHelpers.h"
#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"

#include <QtTest>
#include <memory>

// The server's plans for the list's own queries on a register large enough for the
// optimizer to plan as it does on a real one: in the list's order, straight from
// the key, with no temporary table, and a sort only where a filter picks few rows.
class TestDocumentListPlans : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    static constexpr int Documents = 60000;
    static constexpr int Member = 2; // a user in two of the nine groups

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev, torolve) "
                               "SELECT seq, CONCAT('Csoport ', seq), 'N' FROM seq_2_to_9"));
        ExecSql(QStringLiteral("INSERT INTO felhkod_csoport (felhkod, csoport) "
                               "SELECT 1, seq FROM seq_2_to_9 UNION ALL SELECT %1, 3 UNION ALL SELECT %1, 7")
                    .arg(Member));
        ExecSql(QStringLiteral("INSERT INTO tipus (tipus, tipus_nev, torolve) "
                               "SELECT seq, CONCAT('Típus ', seq), 'N' FROM seq_1_to_10"));
        ExecSql(QStringLiteral("INSERT INTO statusz (statusz, statusz_nev) VALUES (0, 'Új'), (1, 'Kész')"));
        // Twelve years of documents in the order they were registered, spread the
        // way a register's are: most incoming, a few deleted, lent out or marked.
        ExecSql(
            QStringLiteral(
                "INSERT INTO iktato (iktato, iktato2, az1, az2, targy, dat_erk, dat_hatid, irany, csoport, "
                "tipus, egyebcsop, statusz, nyomtatni, kolcsonadva, figy_szoveg, dat_figy, torolve) "
                "SELECT seq, seq, 1 + seq % 50, seq DIV 50, CONCAT('Irat ', seq, IF(seq % 13 = 0, ' kft', "
                "'')), "
                "DATE_ADD('2015-01-01', INTERVAL seq * 4380 DIV %1 DAY), "
                "DATE_ADD('2015-02-01', INTERVAL seq * 4380 DIV %1 DAY), "
                "CASE WHEN seq % 10 < 5 THEN 0 WHEN seq % 10 < 9 THEN 1 ELSE 2 END, 1 + seq % 9, "
                "1 + seq % 10, IF(seq % 4 = 0, 1 + seq % 3, NULL), seq % 2, IF(seq % 50 = 0, 'I', 'N'), "
                "IF(seq % 97 = 0, 'I', 'N'), IF(seq % 40 = 0, 'Visszahívni', NULL), "
                "IF(seq % 40 = 0, '2026-01-01', NULL), IF(seq % 100 = 0, 'I', 'N') "
                "FROM seq_1_to_%1")
                .arg(Documents));
        ExecSql(QStringLiteral("INSERT INTO iktato_file (iktato, filenev, origfilenev, felhkod, rogzitve) "
                               "SELECT seq, CONCAT(seq, '.pdf'), 'a.pdf', 1, '2024-01-01' FROM seq_1_to_%1 "
                               "WHERE seq % 5 < 2")
                    .arg(Documents));
        ExecSql(QStringLiteral("ANALYZE TABLE iktato, iktato_file, felhkod_csoport, csoport"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void listReadsInKeyOrder_data()
    {
        QTest::addColumn<int>("user");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("search");
        // A filter that picks a few days' or one main number's documents may read
        // them through its own key and sort them.
        QTest::addColumn<bool>("maySort");

        const int none = int(FilterEntry::None);
        for (const int user : {1, Member}) {
            const QByteArray who = user == 1 ? "administrator" : "member of two groups";
            for (const int direction : {int(AllDirections), int(Incoming), int(Outgoing), int(Other)})
                for (const int year : {0, 2024})
                    QTest::addRow("%s, direction %d, year %d", who.constData(), direction, year)
                        << user << direction << year << none << QString() << false;
            QTest::addRow("%s, search", who.constData())
                << user << int(AllDirections) << 0 << none << QStringLiteral("kft irat") << false;
        }
        const struct
        {
            FilterEntry entry;
            bool maySort;
        } entries[] = {
            {FilterEntry::Today, true},         {FilterEntry::MarkedForPrint, false},
            {FilterEntry::MainNumber, true},    {FilterEntry::LentOut, false},
            {FilterEntry::LastWeek, true},      {FilterEntry::Period, true},
            {FilterEntry::Type, false},         {FilterEntry::Expired, false},
            {FilterEntry::Group, false},        {FilterEntry::Reminders, false},
            {FilterEntry::NoAttachment, false}, {FilterEntry::OtherGroup, false},
        };
        for (const auto &e : entries)
            QTest::addRow("administrator, %s", filterEntryActionName(e.entry).toLatin1().constData())
                << 1 << int(Other) << 0 << int(e.entry) << QString() << e.maySort;
        for (const int direction : {int(AllDirections), int(Incoming)})
            QTest::addRow("group filter, direction %d", direction)
                << 1 << direction << 0 << int(FilterEntry::Group) << QString() << false;
    }
    void listReadsInKeyOrder()
    {
        QFETCH(int, user);
        QFETCH(int, direction);
        QFETCH(int, year);
        QFETCH(int, entry);
        QFETCH(QString, search);
        QFETCH(bool, maySort);

        DocumentFilter filter;
        filter.year = year;
        filter.entry = FilterEntry(entry);
        switch (filter.entry) {
        case FilterEntry::MainNumber:
            filter.mainNumber = 7;
            break;
        case FilterEntry::Period:
            filter.periodStart = QDate(2024, 3, 1);
            filter.periodEnd = QDate(2024, 3, 31);
            break;
        case FilterEntry::Type:
            filter.type = 3;
            break;
        case FilterEntry::Expired:
            filter.expiredOnly = true;
            break;
        case FilterEntry::Group:
            filter.group = 3;
            break;
        case FilterEntry::OtherGroup:
            filter.otherGroup = 2;
            break;
        default:
            break;
        }
        DocumentListQuery query;
        query.setCondition(filter.compose(direction, user) + documentSearchPiece(search));

        const Dataset plan = db().query(QStringLiteral("EXPLAIN ") + query.sql());
        QStringList steps;
        bool temporary = false, sorted = false;
        for (int row = 0; row < plan.rowCount(); ++row) {
            const QString extra = plan.text(row, plan.requireField(u"Extra"));
            steps << plan.text(row, plan.requireField(u"table")) + QLatin1Char(' ') +
                         plan.text(row, plan.requireField(u"type")) + QLatin1Char(' ') + extra;
            temporary = temporary || extra.contains(QLatin1String("Using temporary"));
            sorted = sorted || extra.contains(QLatin1String("Using filesort"));
        }
        const QByteArray shown = steps.join(QStringLiteral(" | ")).toUtf8();
        QVERIFY2(!temporary, shown.constData());
        QVERIFY2(maySort || !sorted, shown.constData());
        QVERIFY2(plan.text(0, plan.requireField(u"table")) == QLatin1String("iktato"), shown.constData());
    }

    // The editor's storage places come off their key, not from every document.
    void storagePlacesReadTheirKey()
    {
        ExecSql(QStringLiteral("UPDATE iktato SET tarolo = CONCAT('Polc ', iktato % 12) WHERE iktato % 3 = 0"));
        ExecSql(QStringLiteral("ANALYZE TABLE iktato"));
        const Dataset plan = db().query(QStringLiteral("EXPLAIN SELECT DISTINCT tarolo FROM iktato ORDER BY 1;"));
        QCOMPARE(plan.rowCount(), 1);
        const QString extra = plan.text(0, plan.requireField(u"Extra"));
        QCOMPARE(plan.text(0, plan.requireField(u"key")), QStringLiteral("ix_iktato_tarolo"));
        QVERIFY2(!extra.contains(QLatin1String("Using temporary")) && !extra.contains(QLatin1String("filesort")),
                 qPrintable(extra));
    }
};

QTEST_MAIN(TestDocumentListPlans)
#include "tst_documentlistplans.moc"
