#include "TestDatabase.h"
#include "TestSupport.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

namespace {

// Rows 1 .. total in order; after the first screen every row takes the server
// pause seconds, so the list is still filling in when the opening returns. The
// wide column makes the server send rows at once instead of gathering them.
QString slowRows(int total, double pause = 0.01)
{
    return QStringLiteral("SELECT seq AS iktato, IF(seq % 7 = 0, 'I', 'N') AS nyomtatni, "
                          "REPEAT('x', 2000) AS pad, IF(seq > %1, SLEEP(%2), 0) AS pause "
                          "FROM seq_1_to_%3")
        .arg(DocumentListModel::FirstScreenRows)
        .arg(pause)
        .arg(total);
}

QList<qint64> keysOf(const DocumentListModel &model)
{
    QList<qint64> keys;
    const Dataset &d = model.dataset();
    const int col = d.fieldIndex(u"iktato");
    for (int i = 0; i < model.rowCount(); ++i)
        keys << d.toInt(model.datasetRow(i), col);
    return keys;
}

QList<qint64> range(qint64 first, qint64 last, qint64 step = 1)
{
    QList<qint64> list;
    for (qint64 k = first; k <= last; k += step)
        list << k;
    return list;
}

// Documents 1 .. documents, more than two screens, listed through a controller
// over a grid; the register is emptied again afterwards.
struct LongList
{
    static constexpr int documents = 2 * DocumentListModel::FirstScreenRows + 500;
    DocumentListModel model;
    DocumentListView view;
    QLineEdit searchBox;
    std::unique_ptr<FilterController> controller;

    LongList()
    {
        ExecSql(
            QStringLiteral("INSERT INTO iktato (iktato, az1, az2, targy, dat_erk, irany, csoport, torolve) "
                           "SELECT seq, 1, seq, CONCAT('Irat ', seq), '2024-05-02', seq % 3, 1, 'N' "
                           "FROM seq_1_to_%1")
                .arg(documents));
        view.setDocumentModel(&model);
        controller = std::make_unique<FilterController>(&model, &view, &searchBox, nullptr);
    }
    ~LongList() { ExecSql(QStringLiteral("DELETE FROM iktato")); }
};

} // namespace

class TestDocumentListStream : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        session().user = SessionUser::builtInAdministrator();
    }
    void cleanupTestCase() { m_db.reset(); }

    // The opening returns with the first screen; the rest comes in order through
    // row insertions, not a reset, so the grid keeps its place while it grows.
    void firstScreenThenTheRestInOrder()
    {
        DocumentListModel model;
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy finished(&model, &DocumentListModel::loadingFinished);
        model.stream(m_db->params(), slowRows(1100), {});
        QVERIFY(model.isLoading());
        const int first = model.rowCount();
        QVERIFY(first >= DocumentListModel::FirstScreenRows && first < 1100);
        QCOMPARE(keysOf(model), range(1, first));
        QTRY_VERIFY_WITH_TIMEOUT(!model.isLoading(), 20000);
        QCOMPARE(keysOf(model), range(1, 1100));
        QCOMPARE(resets.size(), 1);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(model.dataset().fieldCount(), 4);
    }

    // A short or empty result is whole when the opening returns.
    void shortResultIsWholeAtOnce_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("rows");
        QTest::newRow("some") << QStringLiteral("SELECT seq AS iktato FROM seq_1_to_10") << 10;
        QTest::newRow("none") << QStringLiteral("SELECT seq AS iktato FROM seq_1_to_10 WHERE seq > 10") << 0;
        QTest::newRow("after a statement without rows")
            << QStringLiteral("SET @a = 1; SELECT seq AS iktato FROM seq_1_to_3") << 3;
    }
    void shortResultIsWholeAtOnce()
    {
        QFETCH(QString, sql);
        QFETCH(int, rows);
        DocumentListModel model;
        bool prepared = false;
        model.stream(m_db->params(), sql, [&](Dataset &d) { prepared = d.fieldIndex(u"iktato") == 0; });
        QVERIFY(!model.isLoading());
        QVERIFY(prepared);
        QCOMPARE(model.rowCount(), rows);
        QCOMPARE(model.dataset().current(), rows > 0 ? 0 : -1);
    }

    // A new opening while rows still arrive drops the old rows: none of them shows
    // up later, and the stream's connection serves the next query.
    void newOpeningCancelsTheRest()
    {
        DocumentListModel model;
        model.stream(m_db->params(), slowRows(3000, 0.05), {});
        QVERIFY(model.isLoading());
        model.stream(m_db->params(), QStringLiteral("SELECT seq + 5000 AS iktato FROM seq_1_to_5"), {});
        QVERIFY(!model.isLoading());
        QTest::qWait(300);
        QCOMPARE(keysOf(model), range(5001, 5005));
        model.stream(m_db->params(), slowRows(1010), {});
        QTRY_VERIFY_WITH_TIMEOUT(!model.isLoading(), 20000);
        QCOMPARE(keysOf(model).size(), 1010);
    }

    // Stopping keeps the rows in; a model destroyed while rows arrive goes quietly.
    void stopAndDestroyWhileLoading()
    {
        {
            DocumentListModel model;
            model.stream(m_db->params(), slowRows(3000, 0.05), {});
            model.stopLoading();
            QVERIFY(!model.isLoading());
            const int rows = model.rowCount();
            QVERIFY(rows >= DocumentListModel::FirstScreenRows);
            QTest::qWait(200);
            QCOMPARE(model.rowCount(), rows);
        }
        {
            DocumentListModel model;
            model.stream(m_db->params(), slowRows(3000, 0.05), {});
        }
        QTest::qWait(100);
    }

    // The main connection stays free while rows arrive, and a cell changed in
    // place (a mark) keeps its value as more rows come in.
    void mainConnectionAndCellChangesMeanwhile()
    {
        DocumentListModel model;
        model.stream(m_db->params(), slowRows(1100), {});
        QVERIFY(model.isLoading());
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM seq_1_to_42")).toInt(), 42);
        model.setCell(0, u"nyomtatni", QStringLiteral("I"));
        QCOMPARE(db().selectValue(QStringLiteral("SELECT 2 + 2")).toInt(), 4);
        QTRY_VERIFY_WITH_TIMEOUT(!model.isLoading(), 20000);
        QCOMPARE(model.rowCount(), 1100);
        QCOMPARE(model.dataset().text(0, 1), QStringLiteral("I"));
        QCOMPARE(model.dataset().text(1, 1), QStringLiteral("N"));
    }

    // The marked-only view applies to the rows that arrive later too.
    void rowFilterCoversLaterRows()
    {
        DocumentListModel model;
        model.setRowFilter(
            [](const Dataset &d, int row) { return d.text(row, d.fieldIndex(u"nyomtatni")) == "I"; });
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.stream(m_db->params(), slowRows(1100), {});
        QVERIFY(model.isLoading());
        const int first = model.rowCount();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isLoading(), 20000);
        QCOMPARE(keysOf(model), range(7, 1100, 7));
        QVERIFY(!inserted.isEmpty());
        int inserts = 0;
        for (const QList<QVariant> &args : inserted)
            inserts += args.at(2).toInt() - args.at(1).toInt() + 1;
        QCOMPARE(inserts, model.rowCount() - first);
    }

    // A query the server refuses leaves the list empty and goes to the caller.
    void refusedQueryLeavesTheListEmpty()
    {
        DocumentListModel model;
        model.stream(m_db->params(), QStringLiteral("SELECT seq AS iktato FROM seq_1_to_10"), {});
        QCOMPARE(model.rowCount(), 10);
        QVERIFY_THROWS_EXCEPTION(
            DbError, model.stream(m_db->params(), QStringLiteral("SELECT nincs_ilyen FROM seq_1_to_3"), {}));
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.isLoading());
        model.stream(m_db->params(), QStringLiteral("SELECT seq AS iktato FROM seq_1_to_4"), {});
        QCOMPARE(model.rowCount(), 4);
    }

    // Work that needs the whole list waits for it.
    void finishLoadingWaitsForTheRest()
    {
        DocumentListModel model;
        model.stream(m_db->params(), slowRows(1050), {});
        QVERIFY(model.isLoading());
        model.finishLoading();
        QVERIFY(!model.isLoading());
        QCOMPARE(keysOf(model), range(1, 1050));
    }

    // The whole list for an output: every row of a list still filling in, or of a
    // re-reading under way; the rows handed out stay as they were while the list is read
    // again, opened anew or has a cell changed, and the list goes on with its own.
    void wholeListHoldsItsRows()
    {
        DocumentListModel model;
        model.stream(m_db->params(), slowRows(1100), {});
        QVERIFY(model.isLoading());
        const std::shared_ptr<Dataset> rows = model.wholeList();
        QVERIFY(!model.isLoading());
        QCOMPARE(rows->rowCount(), 1100);
        QVERIFY(model.shows(*rows));
        const auto keysHeld = [&rows] {
            QList<qint64> keys;
            for (int r = 0; r < rows->rowCount(); ++r)
                keys << rows->toInt(r, 0);
            return keys;
        };

        model.setCell(1, u"nyomtatni", QStringLiteral("I"));
        QCOMPARE(model.dataset().text(1, 1), QStringLiteral("I"));
        QCOMPARE(rows->text(1, 1), QStringLiteral("N"));
        model.reread(m_db->params(), QStringLiteral("SELECT seq + 5000 AS iktato, 'N' AS nyomtatni, '' AS pad, "
                                                    "0 AS pause FROM seq_1_to_5"),
                     {});
        QTRY_VERIFY_WITH_TIMEOUT(!model.isRereading(), 20000);
        QCOMPARE(keysOf(model), range(5001, 5005));
        QVERIFY(!model.shows(*rows));
        model.stream(m_db->params(), QStringLiteral("SELECT seq AS iktato FROM seq_1_to_3"), {});
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(keysHeld(), range(1, 1100));

        // A re-reading under way is waited for: the output gets the new rows.
        model.reread(m_db->params(), slowRows(1050), {});
        QVERIFY(model.isRereading());
        const std::shared_ptr<Dataset> after = model.wholeList();
        QVERIFY(!model.isRereading());
        QCOMPARE(after->rowCount(), 1050);
        QCOMPARE(keysHeld(), range(1, 1100));

        // A list whose reading stopped short is not handed out as if it were whole.
        model.stream(m_db->params(), slowRows(3000, 0.05), {});
        model.stopLoading();
        QVERIFY_THROWS_EXCEPTION(KorvenaError, model.wholeList());
    }

    // Reading the list again keeps the shown rows, usable, until the new ones are all
    // in, then exchanges them in one go; a cell changed meanwhile keeps its change,
    // and one document's row can be shown as it now is before that.
    void rereadExchangesTheRowsWhenAllAreIn()
    {
        DocumentListModel model;
        model.stream(m_db->params(), QStringLiteral("SELECT seq AS iktato, 'N' AS nyomtatni, seq AS pad, "
                                                    "0 AS pause FROM seq_1_to_20"),
                     {});
        QCOMPARE(model.rowCount(), 20);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy arriving(&model, &DocumentListModel::rereadArriving);
        QSignalSpy arrived(&model, &DocumentListModel::rereadArrived);
        int prepared = 0;
        model.reread(m_db->params(), slowRows(1100), [&](Dataset &) { ++prepared; });
        QVERIFY(model.isRereading());
        QVERIFY(!model.isLoading());
        QCOMPARE(model.rowCount(), 20);
        model.setCell(2, u"nyomtatni", QStringLiteral("I"));

        Dataset one(model.dataset().fields());
        one.appendRow({7, QStringLiteral("N"), QStringLiteral("új"), 0});
        QCOMPARE(model.putRow(one, 7), 6);
        QCOMPARE(model.dataset().text(6, 2), QStringLiteral("új"));
        one.clear();
        one.appendRow({5000, QStringLiteral("N"), QStringLiteral("friss"), 0});
        QCOMPARE(model.putRow(one, 5000), 20);
        QCOMPARE(model.rowCount(), 21);
        QCOMPARE(model.dataset().text(20, 0), QStringLiteral("5000"));
        Dataset other;
        other.appendRow({});
        QCOMPARE(model.putRow(other, 8), -1);
        QCOMPARE(resets.count(), 0);

        QTRY_VERIFY_WITH_TIMEOUT(!model.isRereading(), 20000);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(arriving.count(), 1);
        QCOMPARE(arrived.count(), 1);
        QCOMPARE(prepared, 1);
        QCOMPARE(keysOf(model), range(1, 1100));
        QCOMPARE(model.dataset().text(2, 1), QStringLiteral("I"));
        QCOMPARE(model.dataset().text(6, 2), QStringLiteral("x").repeated(2000));
    }

    // A new reading that fails leaves the shown rows; one that is replaced by an opening ends.
    void failedOrOvertakenRereadLeavesTheList()
    {
        DocumentListModel model;
        model.stream(m_db->params(), QStringLiteral("SELECT seq AS iktato FROM seq_1_to_10"), {});
        model.reread(m_db->params(), QStringLiteral("SELECT nincs_ilyen FROM seq_1_to_3"), {});
        QVERIFY_THROWS_EXCEPTION(DbError, model.finishLoading());
        QVERIFY(!model.isRereading());
        QCOMPARE(model.rowCount(), 10);

        model.reread(m_db->params(), slowRows(3000, 0.05), {});
        QVERIFY(model.isRereading());
        model.stream(m_db->params(), QStringLiteral("SELECT seq AS iktato FROM seq_1_to_4"), {});
        QVERIFY(!model.isRereading());
        QTest::qWait(100);
        QCOMPARE(model.rowCount(), 4);
    }

    // After one document changed, its row shows the change and the grid stands on it
    // at once, even a new one at the end of a long list; the rest follows, in order,
    // keeping the document the user stands on by then. A document the list no longer
    // admits leaves through a whole re-opening.
    void changedDocumentShowsAtOnce()
    {
        LongList list;
        const int documents = LongList::documents;
        DocumentListModel &model = list.model;
        DocumentListView &view = list.view;
        FilterController &controller = *list.controller;
        controller.rebuild(AllDirections);
        model.finishLoading();
        const Dataset &data = model.dataset();
        const int targy = data.fieldIndex(u"targy");

        const int added = documents + 1;
        ExecSql(QStringLiteral("INSERT INTO iktato (iktato, az1, az2, targy, dat_erk, irany, csoport, torolve) "
                               "VALUES (%1, 1, %1, 'Új irat', '2024-05-03', 0, 1, 'N')")
                    .arg(added));
        ExecSql(QStringLiteral("UPDATE iktato SET targy = 'Másik gép' WHERE iktato = 3"));
        controller.refreshChanged(added);
        QCOMPARE(controller.currentDocument(), qint64(added));
        QCOMPARE(data.text(data.current(), targy), QStringLiteral("Új irat"));
        QCOMPARE(view.currentIndex().row(), documents);
        QVERIFY(model.isRereading());
        QCOMPARE(data.text(2, targy), QStringLiteral("Irat 3"));
        QTRY_VERIFY_WITH_TIMEOUT(!model.isRereading(), 20000);
        QCOMPARE(controller.currentDocument(), qint64(added));
        QCOMPARE(model.rowCount(), documents + 1);
        QCOMPARE(model.dataset().text(2, targy), QStringLiteral("Másik gép"));

        // The user moves on while the rest is read: the grid stays where the user went.
        ExecSql(QStringLiteral("UPDATE iktato SET targy = 'Javítva' WHERE iktato = 1200"));
        controller.refreshChanged(1200);
        QCOMPARE(controller.currentDocument(), qint64(1200));
        QCOMPARE(model.dataset().text(model.dataset().current(), targy), QStringLiteral("Javítva"));
        view.moveToDatasetRow(1500);
        QTRY_VERIFY_WITH_TIMEOUT(!model.isRereading(), 20000);
        QCOMPARE(controller.currentDocument(), qint64(1501));

        ExecSql(QStringLiteral("UPDATE iktato SET torolve = 'I' WHERE iktato = 1501"));
        controller.refreshChanged(1501);
        QVERIFY(!model.isRereading());
        model.finishLoading();
        QCOMPARE(model.rowCount(), documents);

        // The marked-only view hides an unmarked new document: the grid does not take it.
        model.setRowFilter([](const Dataset &d, int row) { return d.raw(row, d.fieldIndex(u"nyomtatni")) == "I"; });
        ExecSql(QStringLiteral("INSERT INTO iktato (iktato, az1, az2, targy, dat_erk, irany, csoport, torolve) "
                               "VALUES (%1, 1, %1, 'Jelöletlen', '2024-05-03', 0, 1, 'N')")
                    .arg(added + 1));
        controller.refreshChanged(added + 1);
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(controller.currentDocument() != added + 1);
    }

    // The list of a register longer than one screen: a refresh stays on its document
    // and a search stands on the first match, wherever in the list they are, and the
    // list is the one a plain query reads.
    void controllerKeepsItsPlaceInALongList()
    {
        LongList list;
        const int documents = LongList::documents;
        ExecSql(
            QStringLiteral("UPDATE iktato SET targy = 'Utolsó levél' WHERE iktato = %1").arg(documents - 3));
        DocumentListModel &model = list.model;
        FilterController &controller = *list.controller;
        controller.rebuild(AllDirections);
        QTRY_VERIFY_WITH_TIMEOUT(!model.isLoading(), 20000);
        QCOMPARE(model.rowCount(), documents);
        Dataset plain;
        db().query(controller.query().sql(), plain);
        QCOMPARE(plain.rowCount(), documents);

        controller.refresh(documents - 1);
        QTRY_COMPARE_WITH_TIMEOUT(controller.currentDocument(), qint64(documents - 1), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!model.isLoading(), 20000);
        QCOMPARE(model.rowCount(), documents);

        controller.filter().locateColumn = QStringLiteral("targy");
        controller.search(QStringLiteral("utolsó"));
        QTRY_COMPARE_WITH_TIMEOUT(controller.currentDocument(), qint64(documents - 3), 20000);
    }
};

QTEST_MAIN(TestDocumentListStream)
#include "tst_documentliststream.moc"
