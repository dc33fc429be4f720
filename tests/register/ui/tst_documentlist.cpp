#include "DocumentFixture.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"
#include "register/ui/Icons.h"

#include <QBrush>
#include <QLineEdit>
#include <QtTest>
#include <memory>

class TestDocumentList : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DocumentListModel> m_model;

    // Opens the list for all directions and years, with a search text.
    void open(const QString &search = QString())
    {
        DocumentFilter f;
        DocumentListQuery q;
        q.setCondition(f.compose(AllDirections, session().user.code) + documentSearchPiece(search));
        m_model->reload([&q](Dataset &d) { q.open(db(), d, session().settings); });
    }
    int rowOf(qint64 key) const
    {
        const Dataset &d = m_model->dataset();
        const int col = d.fieldIndex(u"iktato");
        for (int i = 0; i < m_model->rowCount(); ++i)
            if (d.toInt(m_model->datasetRow(i), col) == key)
                return i;
        return -1;
    }
    QList<qint64> keys() const
    {
        QList<qint64> list;
        const Dataset &d = m_model->dataset();
        for (int i = 0; i < m_model->rowCount(); ++i)
            list << d.toInt(m_model->datasetRow(i), d.fieldIndex(u"iktato"));
        return list;
    }
    qint64 markerOf(qint64 key, int column) const
    {
        return m_model->data(m_model->index(rowOf(key), column), Qt::DecorationRole)
            .value<QPixmap>()
            .cacheKey();
    }
    void useSettings()
    {
        QStringList fields, titles;
        for (int n = 1; n <= 8; ++n) {
            fields << session().settings.listColumnField(n);
            titles << documentFieldLabel(fields.last(), session().settings);
        }
        m_model->setFieldColumns(fields, titles);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        session().user = SessionUser::builtInAdministrator();
    }
    void init()
    {
        session().settings = ProgramSettings::load(AppFolders::current());
        m_model = std::make_unique<DocumentListModel>();
        useSettings();
    }
    void cleanupTestCase() { m_db.reset(); }

    // Before the session user's condition is composed (a start-up query failed), the
    // list's first condition would show every group's documents: nothing lists instead.
    void nothingListsBeforeTheUsersCondition()
    {
        DocumentListView view;
        view.setDocumentModel(m_model.get());
        QLineEdit searchBox;
        FilterController list(m_model.get(), &view, &searchBox, nullptr);
        open();
        QVERIFY(m_model->rowCount() > 0);
        setLastSql(QStringLiteral("-- előtte"));
        list.refresh();
        QCOMPARE(m_model->rowCount(), 0);
        list.search(QStringLiteral("kiss"));
        list.sortByColumn(5);
        list.enterPressed(QStringLiteral("00001017"));
        QCOMPARE(m_model->rowCount(), 0);
        QCOMPARE(LastSql(), QStringLiteral("-- előtte"));

        list.rebuild(AllDirections);
        QCOMPARE(keys(), (QList<qint64>{101, 102, 103, 104, 105, 106}));
    }

    void holdsTheVisibleDocumentsWithTheListFieldsInOrder()
    {
        open();
        // 107 is deleted, 108 belongs to a group the user is not in.
        QCOMPARE(keys(), (QList<qint64>{101, 102, 103, 104, 105, 106}));
        const Dataset &d = m_model->dataset();
        QStringList names;
        for (const Field &f : d.fields())
            names << f.name;
        QCOMPARE(names, documentListColumns());
        QCOMPARE(d.field(d.fieldIndex(u"iktatoaz")).label, QStringLiteral("Sorszám"));
        QCOMPARE(d.field(d.fieldIndex(u"targy")).label, QString());
    }

    void gridColumnsFollowTheSettings()
    {
        open();
        QStringList titles;
        for (int c = 0; c < DocumentListModel::ColumnCount; ++c)
            titles << m_model->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"!", "!", ">>", "St", "Sorszám", "Tárgy", "Kitől", "Kinek", "Tároló",
                                      "Beérkezett", "Határidő", "Csoport"}));
        const int row = rowOf(101);
        QCOMPARE(m_model->data(m_model->index(row, 4)).toString(), QStringLiteral("0101/01/01/2024"));
        QCOMPARE(m_model->data(m_model->index(row, 6)).toString(), QStringLiteral("Kiss Péter"));
        QCOMPARE(m_model->data(m_model->index(row, 9)).toString(), QStringLiteral("2024.03.01"));
        QVERIFY(m_model->data(m_model->index(row, 0)).toString().isEmpty());

        session().settings.azhelyettfoszam = true;
        session().settings.mezo5 = QStringLiteral("Polc");
        useSettings();
        open();
        QCOMPARE(m_model->columnField(4), QStringLiteral("foszamstr"));
        QCOMPARE(m_model->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Főszám"));
        QCOMPARE(m_model->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Polc"));
        QCOMPARE(m_model->data(m_model->index(rowOf(103), 4)).toString(), QStringLiteral("0002"));
    }

    void rowsAreColouredByDirection()
    {
        open();
        const auto background = [this](qint64 key, int column) {
            return m_model->data(m_model->index(rowOf(key), column), Qt::BackgroundRole);
        };
        for (int column : {0, 5, 11}) {
            QCOMPARE(background(101, column).value<QBrush>().color(), QColor(196, 224, 255)); // incoming
            QVERIFY(!background(103, column).isValid());                                      // outgoing
            QCOMPARE(background(104, column).value<QBrush>().color(), QColor(255, 225, 213)); // other
        }
    }

    void markersShowReminderPrintLentOutAndStatus()
    {
        open();
        const qint64 empty = Icons::placeholder().cacheKey();
        QCOMPARE(markerOf(101, DocumentListModel::ReminderColumn), Icons::reminderMarker().cacheKey());
        QCOMPARE(markerOf(102, DocumentListModel::ReminderColumn), empty);
        QCOMPARE(markerOf(101, DocumentListModel::PrintColumn), Icons::printMarker().cacheKey());
        QCOMPARE(markerOf(102, DocumentListModel::PrintColumn), empty);
        QCOMPARE(markerOf(102, DocumentListModel::LentOutColumn), Icons::lentOutMarker().cacheKey());
        QCOMPARE(markerOf(101, DocumentListModel::LentOutColumn), empty);
        QCOMPARE(markerOf(101, DocumentListModel::StatusColumn), Icons::statusMarker(3).cacheKey());
        QCOMPARE(markerOf(104, DocumentListModel::StatusColumn), Icons::statusMarker(5).cacheKey());
        QCOMPARE(markerOf(102, DocumentListModel::StatusColumn), Icons::statusMarker(0).cacheKey()); // NULL
        QCOMPARE(markerOf(105, DocumentListModel::StatusColumn), empty); // 12 has no icon
        QVERIFY(Icons::statusMarker(3).cacheKey() != Icons::statusMarker(5).cacheKey());
        QCOMPARE(Icons::printMarker().size(), QSize(16, 16));
        // Markers have no field of their own except print, lent out and status, which sort by theirs.
        QCOMPARE(m_model->columnField(DocumentListModel::ReminderColumn), QString());
        QCOMPARE(m_model->columnField(DocumentListModel::PrintColumn), QStringLiteral("nyomtatni"));
    }

    void searchTakesTheTextLiterally_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("found");
        QTest::newRow("two words, any column") << "kiss, pecs" << QList<qint64>{101, 103};
        QTest::newRow("percent") << "50%" << QList<qint64>{102};
        QTest::newRow("percent is not a wildcard") << "0%k" << QList<qint64>{};
        QTest::newRow("underscore") << "a_b" << QList<qint64>{102};
        QTest::newRow("underscore is not a wildcard") << "r_t" << QList<qint64>{};
        QTest::newRow("quote") << "O'Neil" << QList<qint64>{105};
        QTest::newRow("backslash") << "C:\\dok" << QList<qint64>{104};
        QTest::newRow("registration identifier") << "0103/02" << QList<qint64>{103};
        QTest::newRow("only punctuation") << ",;" << QList<qint64>{101, 102, 103, 104, 105, 106};
    }
    void searchTakesTheTextLiterally()
    {
        QFETCH(QString, text);
        QFETCH(QList<qint64>, found);
        open(text);
        QCOMPARE(keys(), found);
    }

    void rowFilterSurvivesReopening()
    {
        m_model->setRowFilter(
            [](const Dataset &d, int row) { return d.text(row, d.fieldIndex(u"nyomtatni")) == "I"; });
        open();
        QCOMPARE(keys(), QList<qint64>{101});
        QCOMPARE(m_model->modelRow(m_model->datasetRow(0)), 0);
        m_model->setRowFilter(nullptr);
        QCOMPARE(keys().size(), 6);
    }

    void failedOpeningLeavesTheListClosed()
    {
        open();
        QVERIFY(m_model->rowCount() > 0);
        QVERIFY_THROWS_EXCEPTION(DbError, m_model->reload([](Dataset &d) {
            db().query(QStringLiteral("SELECT nincs_ilyen FROM vw_iktato"), d);
        }));
        QCOMPARE(m_model->rowCount(), 0);
        QCOMPARE(m_model->data(m_model->index(0, 5)), QVariant());
        open();
        QCOMPARE(m_model->rowCount(), 6);
    }

    void columnWidthsFollowTheWindow_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QList<int>>("widths");
        // List 1116 wide: W = 1000.
        QTest::newRow("1100 hides column 9")
            << 1100 << QList<int>{18, 18, 18, 18, 150, 210, 190, 190, 0, 90, 90, 120};
        QTest::newRow("1101 shows it")
            << 1101 << QList<int>{18, 18, 18, 18, 140, 180, 170, 170, 70, 80, 80, 110};
    }
    void columnWidthsFollowTheWindow()
    {
        QFETCH(int, window);
        QFETCH(QList<int>, widths);
        DocumentListView view;
        view.setDocumentModel(m_model.get());
        view.resize(1116, 400);
        view.layoutColumns(window);
        QList<int> got;
        for (int c = 0; c < DocumentListModel::ColumnCount; ++c)
            got << (view.isColumnHidden(c) ? 0 : view.columnWidth(c));
        QCOMPARE(got, widths);
        // Widths are cut, not rounded.
        QCOMPARE(DocumentListView::ruleWidth(5, 126, 1200), 1);
    }
};

QTEST_MAIN(TestDocumentList)
#include "tst_documentlist.moc"
