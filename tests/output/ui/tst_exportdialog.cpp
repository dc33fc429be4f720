#include "common/Encoding.h"
#include "common/ui/DesktopServices.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "output/ui/ExportDialog.h"

#include "../ExportFixture.h"
#include "ModalDialogs.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace ExportFixture;

namespace {

template <typename T> T *child(QWidget *dialog, const char *name)
{
    T *w = dialog->findChild<T *>(QLatin1String(name));
    if (!w)
        qWarning("no child %s", name);
    return w;
}

void click(QWidget *dialog, const char *name)
{
    QTest::mouseClick(child<QPushButton>(dialog, name), Qt::LeftButton);
}

QByteArray readAll(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList shownTexts(const QString &kind)
{
    QStringList texts;
    for (const MessageBox::ShownMessage &m : MessageBox::shown())
        if (m.kind == kind)
            texts << m.text;
    return texts;
}

} // namespace

class TestExportDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        ModalDriver::resetScreenState();
        while (FileDialog::hasQueuedAnswers())
            FileDialog::getSaveFileName(nullptr, {}, {});
    }

    void startsWithEverythingTickedAndTheUsualChoices()
    {
        Dataset data = rows();
        ExportDialog dialog(nullptr, data, QStringLiteral("Iktato.csv"));
        QCOMPARE(dialog.objectName(), QStringLiteral("frm_Hatarolt"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Határolt szöveg export"));
        auto *fields = child<QListWidget>(&dialog, "lbMezok");
        QCOMPARE(fields->count(), int(ColumnCount));
        QCOMPARE(fields->item(Subject)->text(), QStringLiteral("targy"));
        for (int i = 0; i < fields->count(); ++i)
            QCOMPARE(fields->item(i)->checkState(), Qt::Checked);
        QVERIFY(child<QRadioButton>(&dialog, "rbPontosvesszo")->isChecked());
        QVERIFY(child<QRadioButton>(&dialog, "rbSemmi")->isChecked());
        QVERIFY(child<QCheckBox>(&dialog, "cbTobbsoros")->isChecked());
        QVERIFY(!child<QCheckBox>(&dialog, "cbEredetiNevek")->isChecked());
        QVERIFY(!child<QCheckBox>(&dialog, "cbNincsFejlec")->isChecked());
        QVERIFY(!child<QCheckBox>(&dialog, "cbMegnyitas")->isChecked());
        QCOMPARE(child<QLineEdit>(&dialog, "edFilenev")->text(), QStringLiteral("Iktato.csv"));
        QVERIFY(child<QPushButton>(&dialog, "btnExport")->isDefault());
        QVERIFY(!child<QPushButton>(&dialog, "btnMegallit")->isEnabled());
        click(&dialog, "btnEgyikSem");
        QCOMPARE(fields->item(Key)->checkState(), Qt::Unchecked);
        click(&dialog, "btnOsszes");
        QCOMPARE(fields->item(Key)->checkState(), Qt::Checked);
    }

    void delimitedFileWithTheChosenOptions()
    {
        QTemporaryDir dir;
        Dataset data = rows();
        ExportDialog dialog(nullptr, data, QString());
        child<QListWidget>(&dialog, "lbMezok")->item(Memo)->setCheckState(Qt::Unchecked);
        child<QListWidget>(&dialog, "lbMezok")->item(Picture)->setCheckState(Qt::Unchecked);
        child<QRadioButton>(&dialog, "rbCso")->setChecked(true);
        child<QRadioButton>(&dialog, "rbIdezojel")->setChecked(true);
        child<QCheckBox>(&dialog, "cbEredetiNevek")->setChecked(true);
        // No name yet: the save dialog asks; cancelling it writes nothing.
        FileDialog::setNextFileName(QString());
        click(&dialog, "btnExport");
        QVERIFY(MessageBox::shown().isEmpty());
        const QString name = dir.filePath(QStringLiteral("lista.txt"));
        FileDialog::setNextFileName(name);
        click(&dialog, "btnExport");
        QCOMPARE(child<QLineEdit>(&dialog, "edFilenev")->text(), name);
        const QByteArray bytes = readAll(name);
        QVERIFY(bytes.startsWith("\"iktato\"|\"targy\"|\"dat_erk\"|"));
        QVERIFY(bytes.contains(ToCp1250(QStringLiteral("\r\n\"1\"|\"Árvíztűrő „tükör” – 5 €\"|\"2024.03.01\"|"))));
        QCOMPARE(bytes.count("\r\n"), 4);
        QCOMPARE(shownTexts(QStringLiteral("info")), QStringList{name + QStringLiteral(" file kész.")});
        QVERIFY(dialog.isVisible() || !dialog.result());
    }

    void writeFailureShowsTheError()
    {
        QTemporaryDir dir;
        Dataset data = rows();
        ExportDialog dialog(nullptr, data, dir.filePath(QStringLiteral("nincs/ilyen.csv")));
        click(&dialog, "btnExport");
        const QStringList errors = shownTexts(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].startsWith(QStringLiteral("Hiba: ")));
        QVERIFY(errors[0].size() > 6);
        QVERIFY(shownTexts(QStringLiteral("info")).isEmpty());
        QVERIFY(child<QPushButton>(&dialog, "btnExport")->isEnabled());
        QVERIFY(!child<QPushButton>(&dialog, "btnMegallit")->isEnabled());
    }

    void extensionChoosesTheWriter_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("xls, any case") << QStringLiteral("lista.XLS") << QByteArray("\x09\x00\x04\x00", 4);
        QTest::newRow("xml") << QStringLiteral("lista.xml") << QByteArray("<?xml");
        QTest::newRow("anything else: delimited") << QStringLiteral("lista.dat") << QByteArray("iktato;");
    }

    void extensionChoosesTheWriter()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, start);
        QTemporaryDir dir;
        const QString name = dir.filePath(fileName);
        Dataset data = rows();
        ExportDialog dialog(nullptr, data, name);
        child<QCheckBox>(&dialog, "cbMegnyitas")->setChecked(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        click(&dialog, "btnExport");
        QVERIFY(readAll(name).startsWith(start));
        // Opened with its application, and the screen closes.
        QCOMPARE(DesktopServices::opened(), QList<QUrl>{QUrl::fromLocalFile(name)});
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // Only the delimited text reports its completion.
        QCOMPARE(shownTexts(QStringLiteral("info")).size(), start == "iktato;" ? 1 : 0);
    }

    void spreadsheetRefusalReachesTheErrorHandler()
    {
        TempDataFolder folder;
        QTemporaryDir dir;
        Dataset data = rows();
        data.clear();
        ExportDialog dialog(nullptr, data, dir.filePath(QStringLiteral("ures.xls")));
        click(&dialog, "btnExport");
        bool shown = false;
        for (const MessageBox::ShownMessage &m : MessageBox::shown())
            shown = shown || m.text.contains(QStringLiteral("Üres adatforráson"));
        QVERIFY(shown);
        QVERIFY(child<QPushButton>(&dialog, "btnExport")->isEnabled());
        QVERIFY(!dialog.isRunning());
    }

    void clipboardCopyIsTabSeparatedWithoutQuotes()
    {
        Dataset data = rows();
        ExportDialog dialog(nullptr, data, QString());
        child<QRadioButton>(&dialog, "rbIdezojel")->setChecked(true);
        child<QCheckBox>(&dialog, "cbNincsFejlec")->setChecked(true);
        auto *fields = child<QListWidget>(&dialog, "lbMezok");
        for (int i = 0; i < fields->count(); ++i)
            fields->item(i)->setCheckState(i == Key || i == Memo ? Qt::Checked : Qt::Unchecked);
        click(&dialog, "btnVagolapra");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("\r\n1\telső\\nmásodik,harmadik;x\r\n2\t\r\n3\t"));
        QCOMPARE(shownTexts(QStringLiteral("info")), QStringList{QStringLiteral("Adatok vágólapra másolása kész.")});
    }

    void stopEndsALongExportAndWritesWhatItHas()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("hosszu.csv"));
        const int total = 100000;
        Dataset data = manyRows(total);
        ExportDialog dialog(nullptr, data, name);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        bool stopEnabled = false;
        bool closeDisabled = false;
        bool stillRunning = false;
        // Runs while the export lets the screen handle its events.
        QTimer::singleShot(0, &dialog, [&] {
            stillRunning = dialog.isRunning();
            stopEnabled = child<QPushButton>(&dialog, "btnMegallit")->isEnabled();
            closeDisabled = !child<QPushButton>(&dialog, "btnBezar")->isEnabled();
            click(&dialog, "btnMegallit");
        });
        click(&dialog, "btnExport");
        QVERIFY(stillRunning);
        QVERIFY(stopEnabled);
        QVERIFY(closeDisabled);
        const QByteArray bytes = readAll(name);
        const int lines = int(bytes.count("\r\n"));
        QVERIFY2(lines > 1 && lines < total + 1, qPrintable(QString::number(lines)));
        QVERIFY(bytes.endsWith(";Bejelentes\r\n"));
        // The list stays where the walk stopped.
        QCOMPARE(data.current(), lines - 2);
        QCOMPARE(shownTexts(QStringLiteral("info")), QStringList{name + QStringLiteral(" file kész.")});
        QVERIFY(!child<QPushButton>(&dialog, "btnMegallit")->isEnabled());
        QVERIFY(dialog.isVisible());
    }

    void escapeWhileRunningStopsInsteadOfClosing()
    {
        Dataset data = manyRows(100000);
        ExportDialog dialog(nullptr, data, QString());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        click(&dialog, "btnVagolapra");
        QVERIFY(dialog.isVisible());
        const QString text = QGuiApplication::clipboard()->text();
        QVERIFY(text.count(QStringLiteral("\r\n")) < 100000);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    void runOpensModallyOverTheRows()
    {
        Dataset data = rows();
        bool seen = false;
        ModalDriver::onModal(QString(ExportDialog::ObjectName), [&seen](QDialog *d) {
            seen = true;
            click(d, "btnBezar");
        });
        ExportDialog::run(nullptr, data, QStringLiteral("Iktato.csv"));
        QVERIFY(seen);
    }
};

QTEST_MAIN(TestExportDialog)
#include "tst_exportdialog.moc"
