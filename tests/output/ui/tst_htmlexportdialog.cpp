#include "common/Encoding.h"
#include "common/ui/DesktopServices.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "db/Dataset.h"
#include "output/ui/HtmlExportDialog.h"

#include "ModalDialogs.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

Dataset documents()
{
    Dataset data({Field{QStringLiteral("iktato"), FieldType::Integer, 11},
                  Field{QStringLiteral("targy"), FieldType::Text, 255}});
    data.appendRow({1, QStringLiteral("Első")});
    data.appendRow({2, QStringLiteral("Második")});
    return data;
}

HtmlPage listPage()
{
    return HtmlPage{{{1, QStringLiteral("Tárgy"), 100}}, 200, QStringLiteral("Iktatókönyv")};
}

QLineEdit *fileEdit(QWidget *d)
{
    return d->findChild<QLineEdit *>(QStringLiteral("edMentesHelye"));
}

void click(QWidget *d, const char *name)
{
    QTest::mouseClick(d->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
}

} // namespace

class TestHtmlExportDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_folder = std::make_unique<TempDataFolder>();
        AppFolders::refresh();
    }

    void cleanupTestCase() { m_folder.reset(); }

    void init() { ModalDriver::resetScreenState(); }

    void startsWithTheHtmlFolderAndTheTitleAsFileName_data()
    {
        QTest::addColumn<QString>("htmlUt");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none: the data folder") << QString() << QStringLiteral("<data>/iktat_k_nyv.htm");
        QTest::newRow("with separator")
            << QStringLiteral("/srv/html/") << QStringLiteral("/srv/html/iktat_k_nyv.htm");
        QTest::newRow("without separator")
            << QStringLiteral("/srv/html") << QStringLiteral("/srv/html/iktat_k_nyv.htm");
    }

    void startsWithTheHtmlFolderAndTheTitleAsFileName()
    {
        QFETCH(QString, htmlUt);
        QFETCH(QString, expected);
        session().local.htmlUt = htmlUt;
        Dataset data = documents();
        HtmlExportDialog dialog(nullptr, data, listPage());
        QCOMPARE(dialog.objectName(), QStringLiteral("frm_Grid2Html"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("HTML export"));
        QCOMPARE(fileEdit(&dialog)->text(), expected.replace(QStringLiteral("<data>"), m_folder->path()));
        QVERIFY(dialog.findChild<QCheckBox *>(QStringLiteral("cbMegnyitas"))->isChecked());
    }

    void okWritesOpensAndRemembersTheFolder()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("lista.htm"));
        Dataset data = documents();
        data.setCurrent(1);
        HtmlExportDialog dialog(nullptr, data, listPage());
        dialog.show();
        fileEdit(&dialog)->setText(name);
        click(&dialog, "btnOK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QFile f(name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(FromCp1250(f.readAll()).contains(QStringLiteral("Összesen 2 sor.")));
        QCOMPARE(DesktopServices::opened(), QList<QUrl>({QUrl::fromLocalFile(name)}));
        QCOMPARE(session().local.htmlUt, dir.path() + QLatin1Char('/'));
        QCOMPARE(data.current(), 1);
    }

    void eMailAttachesThePageAndStaysOpen()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("lista.htm"));
        session().local.htmlUt = QStringLiteral("/elozo/");
        Dataset data = documents();
        HtmlExportDialog dialog(nullptr, data, listPage());
        dialog.show();
        fileEdit(&dialog)->setText(name);
        click(&dialog, "btnEMail");
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.findChild<QCheckBox *>(QStringLiteral("cbMegnyitas"))->isChecked());
        QVERIFY(DesktopServices::opened().isEmpty());
        const QList<DesktopServices::Mail> mails = DesktopServices::mailed();
        QCOMPARE(mails.size(), 1);
        QCOMPARE(mails[0].subject, QStringLiteral("Html küldés"));
        QCOMPARE(mails[0].body, QStringLiteral("Html küldés"));
        QCOMPARE(mails[0].attachment, name);
        QVERIFY(QFile::exists(name));
        QCOMPARE(session().local.htmlUt, QStringLiteral("/elozo/"));
    }

    void browseAndCancelWriteNothing()
    {
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("valasztott.html"));
        session().local.htmlUt = QStringLiteral("/elozo/");
        Dataset data = documents();
        HtmlExportDialog dialog(nullptr, data, listPage());
        dialog.show();
        FileDialog::setNextFileName(chosen);
        click(&dialog, "btnTallozas");
        QCOMPARE(fileEdit(&dialog)->text(), chosen);
        click(&dialog, "btnMegsem");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(chosen));
        QCOMPARE(session().local.htmlUt, QStringLiteral("/elozo/"));
    }

    void missingFolderReachesTheErrorHandlerAndTheDialogStays()
    {
        QTemporaryDir dir;
        session().local.htmlUt = QStringLiteral("/elozo/");
        Dataset data = documents();
        HtmlExportDialog dialog(nullptr, data, listPage());
        dialog.show();
        fileEdit(&dialog)->setText(dir.filePath(QStringLiteral("nincs/lista.htm")));
        click(&dialog, "btnOK");
        QVERIFY(dialog.isVisible());
        QVERIFY(!MessageBox::shown().isEmpty());
        QVERIFY(DesktopServices::opened().isEmpty());
        QCOMPARE(session().local.htmlUt, QStringLiteral("/elozo/"));
    }

private:
    std::unique_ptr<TempDataFolder> m_folder;
};

QTEST_MAIN(TestHtmlExportDialog)
#include "tst_htmlexportdialog.moc"
