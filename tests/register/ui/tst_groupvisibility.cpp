// A user who belongs to some groups only: the document list, its search and
// every filter entry show exactly the documents of his groups, each once.
#include "TestDatabase.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "masterdata/MasterData.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"

#include <QLineEdit>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

// Member of groups 2 and 3. Group 2 is shared with user 6, so every document of
// it stands twice in vw_iktato; group 4 is user 6's alone, group 5 has no
// members, group 1 is the administrator's.
constexpr int User = 5;

// The documents: one of each kind in every group, keyed group * 10 + kind;
// group 0 gives keys 1 to 5, a document without a group 61 to 65.
enum Kind
{
    Matching = 1, // third tab; meets every filter entry's condition
    Plain = 2,    // third tab; meets none of them
    In = 3,       // incoming, otherwise plain
    Out = 4,      // outgoing, otherwise plain
    Deleted = 5,  // like Matching, but deleted
};

void loadGroupFixture()
{
    ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (2, 'Pénzügy'), (3, 'Jog'), "
                           "(4, 'Titkárság'), (5, 'Üres')"));
    ExecSql(QStringLiteral("INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, canins, canedit, "
                           "candel) VALUES (5, 'kovacs', 'Kovács Éva', 'N', 'N', 'N'), "
                           "(6, 'szabo', 'Szabó Ede', 'N', 'N', 'N')"));
    ExecSql(QStringLiteral(
        "INSERT INTO felhkod_csoport (felhkod, csoport) VALUES (5, 2), (5, 3), (6, 2), (6, 4)"));
    ExecSql(QStringLiteral("INSERT INTO tipus (tipus, tipus_nev) VALUES (1, 'Levél'), (2, 'Számla')"));
    ExecSql(QStringLiteral("INSERT INTO egyebcsop (egyebcsop, egyebcsop_nev) VALUES (1, 'Pályázat'), "
                           "(2, 'Beruházás')"));

    QStringList documents, files;
    for (const int group : {0, 1, 2, 3, 4, 5, -1}) {
        const int base = group < 0 ? 60 : group * 10;
        const QString csoport = group < 0 ? QStringLiteral("NULL") : QString::number(group);
        for (const int kind : {Matching, Plain, In, Out, Deleted}) {
            const bool matching = kind == Matching || kind == Deleted;
            const int key = base + kind;
            const int direction = kind == In ? 0 : kind == Out ? 1 : 2;
            documents << QStringLiteral("(%1, %2, 'Közös ügy %1', %3, %4, %5, %6, %7, %8, %9, %10, %11, %12)")
                             .arg(key)
                             .arg(matching ? 7 : 8)
                             .arg(matching ? QStringLiteral("CURDATE()")
                                           : QStringLiteral("CURDATE() - INTERVAL 400 DAY"))
                             .arg(matching ? QStringLiteral("CURDATE() - INTERVAL 1 DAY")
                                           : QStringLiteral("CURDATE() + INTERVAL 30 DAY"))
                             .arg(direction)
                             .arg(csoport)
                             .arg(matching ? QStringLiteral("'I'") : QStringLiteral("'N'"))
                             .arg(matching ? QStringLiteral("'I'") : QStringLiteral("'N'"))
                             .arg(matching ? QStringLiteral("'Visszahívni'") : QStringLiteral("NULL"))
                             .arg(matching ? 1 : 2)
                             .arg(matching ? 1 : 2)
                             .arg(kind == Deleted ? QStringLiteral("'I'") : QStringLiteral("'N'"));
            if (!matching)
                files << QStringLiteral("(%1, 'f%1.pdf', 'f%1.pdf', 6)").arg(key);
        }
    }
    ExecSql(QStringLiteral("INSERT INTO iktato (iktato, az1, targy, dat_erk, dat_hatid, irany, csoport, "
                           "nyomtatni, kolcsonadva, figy_szoveg, tipus, egyebcsop, torolve) VALUES ") +
            documents.join(QStringLiteral(", ")));
    ExecSql(QStringLiteral("INSERT INTO iktato_file (iktato, filenev, origfilenev, felhkod) VALUES ") +
            files.join(QStringLiteral(", ")));
}

// The documents of the user's groups (2 and 3) of the given kinds, as the list orders them.
QList<qint64> visible(std::initializer_list<int> kinds, std::initializer_list<int> groups = {2, 3})
{
    QList<qint64> keys;
    for (const int group : groups)
        for (const int kind : kinds)
            keys << group * 10 + kind;
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace

class TestGroupVisibility : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DocumentListModel> m_model;
    std::unique_ptr<DocumentListView> m_view;
    std::unique_ptr<QLineEdit> m_searchBox;
    FilterController *m_controller = nullptr;
    QDate m_serverToday;

    QList<qint64> keys() const
    {
        QList<qint64> list;
        const Dataset &d = m_model->dataset();
        for (int i = 0; i < m_model->rowCount(); ++i)
            list << d.toInt(m_model->datasetRow(i), d.fieldIndex(u"iktato"));
        return list;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        loadGroupFixture();
        m_serverToday = db().selectValue(QStringLiteral("SELECT CURDATE()")).toDate();
        SessionUser user;
        user.login = QStringLiteral("kovacs");
        user.fullName = QStringLiteral("Kovács Éva");
        user.code = User;
        session().user = user;
    }
    void init()
    {
        session().settings = ProgramSettings::load(AppFolders::current());
        m_model = std::make_unique<DocumentListModel>();
        m_view = std::make_unique<DocumentListView>();
        m_view->setDocumentModel(m_model.get());
        m_searchBox = std::make_unique<QLineEdit>();
        m_controller = new FilterController(m_model.get(), m_view.get(), m_searchBox.get(), nullptr);
    }
    void cleanup()
    {
        m_view.reset(); // owns the controller
        m_searchBox.reset();
        m_model.reset();
    }
    void cleanupTestCase() { m_db.reset(); }

    void everyTabAndFilterEntry_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("answer"); // what the entry's picker returns
        QTest::addColumn<bool>("groupsOn");
        QTest::addColumn<QList<qint64>>("shown");

        QTest::newRow("Bejövő") << 0 << 0 << 0 << true << visible({In});
        QTest::newRow("Kimenő") << 1 << 0 << 0 << true << visible({Out});
        QTest::newRow("third tab") << 2 << 0 << 0 << true << visible({Matching, Plain});
        QTest::newRow("Összes") << 3 << 0 << 0 << true << visible({Matching, Plain, In, Out});
        const QList<qint64> matching = visible({Matching});
        QTest::newRow("aSzur1 Csak a mai nap") << 2 << 1 << 0 << true << matching;
        QTest::newRow("aSzur2 Nyomtatásra jelöltek") << 2 << 2 << 0 << true << matching;
        QTest::newRow("aSzur3 Főszámra") << 2 << 3 << 7 << true << matching;
        QTest::newRow("aSzur4 Kiadottak") << 2 << 4 << 0 << true << matching;
        QTest::newRow("aSzur5 Csak az utolsó hét") << 2 << 5 << 0 << true << matching;
        QTest::newRow("aSzur6 Időszak") << 2 << 6 << 0 << true << matching;
        QTest::newRow("aSzur7 Típusra") << 2 << 7 << 1 << true << matching;
        QTest::newRow("aSzur8 Lejártak") << 2 << 8 << 0 << true << matching;
        QTest::newRow("aSzur9 Csoportra, a group shared with another user")
            << 3 << 9 << 2 << true << visible({Matching, Plain, In, Out}, {2});
        QTest::newRow("aSzur9 Csoportra, a group of another user") << 3 << 9 << 4 << true << QList<qint64>();
        QTest::newRow("aSzur9 Csoportra without groups: the default group, his own")
            << 3 << 9 << 3 << false << visible({Matching, Plain, In, Out}, {3});
        QTest::newRow("aSzur9 Csoportra without groups: the default group, not his")
            << 3 << 9 << 1 << false << QList<qint64>();
        QTest::newRow("aSzur10 Figyelmeztetésekre") << 2 << 10 << 0 << true << matching;
        QTest::newRow("aSzur11 Ahol nincs csatolt file") << 2 << 11 << 0 << true << matching;
        QTest::newRow("aSzur12 Egyéb csoportra") << 2 << 12 << 1 << true << matching;
    }
    void everyTabAndFilterEntry()
    {
        QFETCH(int, tab);
        QFETCH(int, entry);
        QFETCH(int, answer);
        QFETCH(bool, groupsOn);
        QFETCH(QList<qint64>, shown);
        session().settings.vancsoport = groupsOn;
        if (!groupsOn)
            session().settings.alapcsoport = answer;
        FilterPickers pickers;
        pickers.mainNumber = pickers.type = pickers.otherGroup =
            pickers.group = [answer](QWidget *) { return answer; };
        const QDate today = m_serverToday;
        pickers.period = [today](QWidget *, QDate &first, QDate &last) {
            first = today.addDays(-3);
            last = today;
            return true;
        };
        m_controller->setPickers(pickers);

        m_controller->chooseDirection(tab);
        if (entry != 0)
            m_controller->chooseEntry(FilterEntry(entry));
        QCOMPARE(keys(), shown);
        QVERIFY(m_controller->filter().condition.contains(QStringLiteral("(fcs=5)")));
    }

    void searchAndScan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("shown");
        QTest::newRow("a word of every subject") << "közös" << visible({Matching, Plain, In, Out});
        QTest::newRow("his group's name") << "Pénzügy" << visible({Matching, Plain, In, Out}, {2});
        QTest::newRow("another user's group name") << "Titkárság" << QList<qint64>();
        QTest::newRow("the administrator's group name") << "Általános" << QList<qint64>();
        QTest::newRow("identifier of his document") << "0031/" << QList<qint64>{31};
        QTest::newRow("identifier of another group's document") << "0041/" << QList<qint64>();
        QTest::newRow("identifier of a document without members") << "0051/" << QList<qint64>();
    }
    void searchAndScan()
    {
        QFETCH(QString, text);
        QFETCH(QList<qint64>, shown);
        m_controller->chooseDirection(AllDirections);
        m_controller->search(text);
        QCOMPARE(keys(), shown);

        // A scanned label of a document he may not see finds nothing; one of his is found.
        m_controller->enterPressed(QStringLiteral("00000410"));
        QCOMPARE(keys(), visible({Matching, Plain, In, Out}));
        QVERIFY(m_controller->currentDocument() != 41);
        m_controller->enterPressed(QStringLiteral("00000320"));
        QCOMPARE(m_controller->currentDocument(), 32);
    }

    // "Ahol nincs csatolt file" reads NOT IN over the files' documents, which a
    // single file row without a document would turn into a condition nothing meets.
    void fileWithoutDocumentCannotHideTheList()
    {
        QVERIFY_THROWS_EXCEPTION(
            DbError,
            ExecSql(QStringLiteral("INSERT INTO iktato_file (iktato, filenev) VALUES (NULL, 'árva.pdf')")));
        m_controller->chooseDirection(Other);
        m_controller->chooseEntry(FilterEntry::NoAttachment);
        QCOMPARE(keys(), visible({Matching}));
    }

    // The group entry's picker offers his groups only, by name.
    void groupChoiceOffersHisGroups()
    {
        const Dataset d = db().query(groupPickerRequest(User).sql.join(QLatin1Char('\n')));
        QStringList names;
        for (int r = 0; r < d.rowCount(); ++r)
            names << d.text(r, d.fieldIndex(u"csoport_nev"));
        QCOMPARE(names, (QStringList{"Jog", "Pénzügy"}));
    }
};

QTEST_MAIN(TestGroupVisibility)
#include "tst_groupvisibility.moc"
