// Every action that consumes the whole document list gets every row, from a list
// still filling in, and keeps the rows it started with while the list is read again
// behind it (shorter) before it writes them out.
#include "../output/ReportPdf.h"
#include "DocumentFixture.h"
#include "MainWindowFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "common/Encoding.h"
#include "common/ui/FileDialog.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "output/ui/ExportDialog.h"
#include "output/ui/HtmlExportDialog.h"
#include "output/ui/OutputChoice.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/FilterController.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

constexpr int FirstAdded = 1001;
// More than the first screen, so the opening returns with the rest still to come.
constexpr int Added = DocumentListModel::FirstScreenRows + 300;
// The re-reading leaves only the documents up to this one.
constexpr int KeptAfterReread = FirstAdded + 99;

// The documents in the order an output lists their identifiers (iktato/az1/az2/year).
QList<qint64> documentsIn(const QString &text)
{
    static const QRegularExpression identifier(QStringLiteral("(\\d+)/\\d+/\\d+/\\d{4}"));
    QList<qint64> keys;
    for (auto it = identifier.globalMatch(text); it.hasNext();)
        keys << it.next().captured(1).toLongLong();
    return keys;
}

QString fileText(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? FromCp1250(f.readAll()) : QString();
}

enum class Output
{
    Pdf,   // the report printed into a PDF file
    Csv,   // the report's "Excelbe (CSV)" choice, or the export screen itself
    Html,  // the HTML export screen
    Clip,  // the clipboard, no screen
};

} // namespace

class TestWholeList : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        ExecSql(QStringLiteral("INSERT INTO iktato (iktato, az1, az2, targy, dat_erk, irany, csoport, nyomtatni, "
                               "torolve) SELECT seq, 1, 1, CONCAT('Irat ', seq), '2024-05-02', seq % 3, 1, 'I', 'N' "
                               "FROM seq_%1_to_%2")
                    .arg(FirstAdded)
                    .arg(FirstAdded + Added - 1));
    }
    void init()
    {
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', irasvedett = 'N', hatidfigyel = -1"));
        ExecSql(QStringLiteral("UPDATE iktato SET torolve = 'N' WHERE iktato >= %1").arg(FirstAdded));
        // Marked, so the clipboard copies every row the list shows.
        ExecSql(QStringLiteral("UPDATE iktato SET nyomtatni = 'I'"));
    }
    void cleanup()
    {
        Connection::setCurrent(&m_db->connection());
        m_data.reset();
    }
    void cleanupTestCase()
    {
        Connection::setCurrent(&m_db->connection());
        m_db.reset();
    }

    void everyRowOutAndNoneMixedIn_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("output");
        QTest::newRow("aNyomtat printed") << QStringLiteral("aNyomtat") << int(Output::Pdf);
        QTest::newRow("aNyomtat to CSV") << QStringLiteral("aNyomtat") << int(Output::Csv);
        QTest::newRow("aNyomReszletes printed") << QStringLiteral("aNyomReszletes") << int(Output::Pdf);
        QTest::newRow("aNyomReszletes to CSV") << QStringLiteral("aNyomReszletes") << int(Output::Csv);
        QTest::newRow("aExcel") << QStringLiteral("aExcel") << int(Output::Csv);
        QTest::newRow("aHtml") << QStringLiteral("aHtml") << int(Output::Html);
        QTest::newRow("aVagolapra") << QStringLiteral("aVagolapra") << int(Output::Clip);
    }
    void everyRowOutAndNoneMixedIn()
    {
        QFETCH(QString, action);
        QFETCH(int, output);
        auto w = openMainWindow(&m_db->connection());
        QVERIFY(w);
        session().local.masolMezok = QStringLiteral("NNNNNNNNNNNNNI"); // the identifier line only
        FilterController &list = w->documentList();
        DocumentListModel *model = w->listModel();
        list.filter().year = -1;
        // The rest of the rows may still be on the way (the server decides); the model's
        // own test holds a list back to make sure.
        list.rebuild(AllDirections);
        QList<qint64> expected;
        {
            const Dataset all = db().query(list.query().sql());
            for (int r = 0; r < all.rowCount(); ++r)
                expected << all.toInt(r, all.fieldIndex(u"iktato"));
        }
        QVERIFY(expected.size() > Added);

        // Once the action holds its rows: most documents go, and the list is read
        // again behind the open screen until the shorter list has taken its place.
        bool reread = false;
        const auto rereadShorter = [&] {
            ExecSql(QStringLiteral("UPDATE iktato SET torolve = 'I' WHERE iktato > %1").arg(KeptAfterReread));
            list.refreshChanged(FirstAdded);
            for (int waited = 0; model->isRereading() && waited < 20000; waited += 10)
                QTest::qWait(10);
            reread = !model->isRereading() && model->rowCount() <= expected.size() - Added + 100;
        };

        const QString file = m_dir.filePath(QStringLiteral("%1-%2.%3")
                                                .arg(action)
                                                .arg(output)
                                                .arg(output == int(Output::Pdf)    ? QStringLiteral("pdf")
                                                     : output == int(Output::Html) ? QStringLiteral("htm")
                                                                                   : QStringLiteral("csv")));
        auto *steps = new ModalSequence(w.get(), 60000);
        const auto exportTo = [&](QWidget *d) {
            if (action == QLatin1String("aExcel"))
                rereadShorter();
            d->findChild<QLineEdit *>(QStringLiteral("edFilenev"))->setText(file);
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnExport")), Qt::LeftButton);
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnBezar")), Qt::LeftButton);
        };
        if (action.startsWith(QLatin1String("aNyom"))) {
            if (output == int(Output::Pdf))
                FileDialog::setNextFileName(file);
            steps->then(QString(OutputChoice::ObjectName), [&](QWidget *d) {
                auto *choice = static_cast<OutputChoice *>(d);
                rereadShorter();
                choice->option(output == int(Output::Pdf) ? OutputChoice::Pdf : OutputChoice::Export)
                    ->setChecked(true);
                QTest::mouseClick(choice->okButton(), Qt::LeftButton);
            });
            if (output == int(Output::Csv))
                steps->then(QString(ExportDialog::ObjectName), exportTo);
        } else if (action == QLatin1String("aExcel")) {
            steps->then(QString(ExportDialog::ObjectName), exportTo);
        } else if (action == QLatin1String("aHtml")) {
            steps->then(QString(HtmlExportDialog::ObjectName), [&](QWidget *d) {
                rereadShorter();
                d->findChild<QLineEdit *>(QStringLiteral("edMentesHelye"))->setText(file);
                QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
            });
        }

        w->actionCatalogue().action(action)->trigger();
        QVERIFY(steps->done());
        QString text;
        if (output == int(Output::Clip)) {
            text = QGuiApplication::clipboard()->text();
        } else {
            QVERIFY(reread);
            text = output == int(Output::Pdf) ? ReportPdf::text(file) : fileText(file);
        }
        const QList<qint64> got = documentsIn(text);
        QCOMPARE(got.size(), expected.size());
        QCOMPARE(got, expected);
        if (output == int(Output::Html))
            QVERIFY(text.contains(QStringLiteral("Összesen %1 sor.").arg(expected.size())));
    }
};

QTEST_MAIN(TestWholeList)
#include "tst_wholelist.moc"
