// The database list: profiles read and rewritten on closing, editing, sorting, the
// connection test, and the script backup running off the window's thread.
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/LocalConfig.h"
#include "core/ui/DatabaseList.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

QString stored(const QString &line)
{
    return ScrambleProfile(line);
}

QStringList storedLines(const IniFile &ini)
{
    QStringList lines;
    for (int n = 1; n <= 100; ++n)
        if (ini.hasKey(QStringLiteral("Adatbazis"), QStringLiteral("ConStr%1").arg(n)))
            lines << QStringLiteral("%1=%2").arg(n).arg(UnscrambleProfile(
                ini.readString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr%1").arg(n))));
    return lines;
}

QStringList column(const DatabaseListDialog &d, int c)
{
    QStringList texts;
    for (int r = 0; r < d.grid()->rowCount(); ++r)
        texts << d.grid()->item(r, c)->text();
    return texts;
}

// Fills the profile editor once it shows and presses OK (or Mégsem with accept false).
void editProfile(std::function<void(QDialog *)> fill, bool accept = true)
{
    ModalDriver::onModal(QString(ProfileEditDialog::ObjectName), [fill, accept](QDialog *d) {
        if (fill)
            fill(d);
        QTest::mouseClick(
            d->findChild<QPushButton *>(accept ? QStringLiteral("btnOK") : QStringLiteral("btnMegsem")),
            Qt::LeftButton);
    });
}

void setField(QDialog *d, int index, const QString &text)
{
    // The boxes in tab order: display name, server, user, password, database, port.
    const QList<QLineEdit *> boxes = d->findChildren<QLineEdit *>();
    boxes[index]->setText(text);
}

} // namespace

class TestDatabaseList : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempDataFolder> m_data;

    IniFile ini() const { return IniFile(m_data->file(QStringLiteral("Korvena.ini"))); }

private Q_SLOTS:
    void init()
    {
        ModalDriver::resetScreenState();
        m_data = std::make_unique<TempDataFolder>();
        AppFolders::refresh();
    }
    void cleanup() { m_data.reset(); }

    void listsEveryProfileAndRewritesThemOnClosing()
    {
        IniFile file = ini();
        const QString section = QStringLiteral("Adatbazis");
        file.writeString(section, QStringLiteral("ConStr1"),
                         stored(QStringLiteral("iktato;szerver;3306;u;p;Zala")));
        file.writeString(section, QStringLiteral("ConStr2"),
                         stored(QStringLiteral("nev_nelkul;h;3307;u;p;")));
        file.writeString(section, QStringLiteral("ConStr4"),
                         stored(QStringLiteral("rosszport;h;abc;u;p;Békés")));
        file.writeString(section, QStringLiteral("ConStr9"), stored(QStringLiteral("a;h;1;u;p;Arad")));
        file.writeString(section, QStringLiteral("ConStr100"), stored(QStringLiteral("z;h;2;u;p;Zemplén")));
        file.writeString(section, QStringLiteral("ConStr101"), stored(QStringLiteral("kivul;h;2;u;p;Kívül")));
        file.writeString(QStringLiteral("frm_Adatbazis"), QStringLiteral("MysqlDump"),
                         QStringLiteral("/régi/mysqldump"));

        DatabaseListDialog d;
        d.show();
        QCOMPARE(column(d, 0), QStringList({QString(), QStringLiteral("Arad"), QStringLiteral("Békés"),
                                            QStringLiteral("Zala"), QStringLiteral("Zemplén")}));
        QCOMPARE(column(d, 3), QStringList({QStringLiteral("3307"), QStringLiteral("1"), QStringLiteral("0"),
                                            QStringLiteral("3306"), QStringLiteral("2")}));
        QCOMPARE(d.toolPathBox()->text(), QStringLiteral("/régi/mysqldump"));

        // Delete the last of the five.
        d.setCurrentRow(4);
        MessageBox::setNextAnswer(true);
        d.action(QStringLiteral("aTorol"))->trigger();
        QCOMPARE(MessageBox::shown().last().text,
                 QStringLiteral("Valóban töröljem az adatbázist a listából?"));
        QCOMPARE(MessageBox::shown().last().title, QStringLiteral("Megerősítés"));
        d.toolPathBox()->setText(QStringLiteral("/usr/bin/mariadb-dump"));
        d.action(QStringLiteral("aBezar"))->trigger();
        QVERIFY(!d.isVisible());

        QCOMPARE(storedLines(ini()), QStringList({QStringLiteral("1=nev_nelkul;h;3307;u;p;;"),
                                                  QStringLiteral("2=a;h;1;u;p;Arad;"),
                                                  QStringLiteral("3=rosszport;h;0;u;p;Békés;"),
                                                  QStringLiteral("4=iktato;szerver;3306;u;p;Zala;")}));
        QCOMPARE(ini().readString(QStringLiteral("frm_Adatbazis"), QStringLiteral("MysqlDump")),
                 QStringLiteral("/usr/bin/mariadb-dump"));
    }

    void editorAddsEditsAndCancels()
    {
        IniFile file = ini();
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                         stored(QStringLiteral("kozpont;gep;3306;iktato;titok;Központ")));
        DatabaseListDialog d;
        d.show();

        // A cancelled new row leaves nothing behind.
        editProfile([](QDialog *e) { setField(e, 0, QStringLiteral("Elvetett")); }, false);
        d.action(QStringLiteral("aUj"))->trigger();
        QCOMPARE(d.rows().size(), 1);

        QString defaultPort;
        editProfile([&](QDialog *e) {
            defaultPort = e->findChildren<QLineEdit *>()[5]->text();
            setField(e, 0, QStringLiteral("Fiók"));
            setField(e, 1, QStringLiteral("fiok.local"));
            setField(e, 4, QStringLiteral("fiok"));
        });
        d.action(QStringLiteral("aUj"))->trigger();
        QCOMPARE(defaultPort, QStringLiteral("3306"));
        QCOMPARE(column(d, 0), QStringList({QStringLiteral("Fiók"), QStringLiteral("Központ")}));
        QCOMPARE(d.currentRow(), 0); // the new row stays current after sorting

        // A cancelled edit restores the row; a kept one is re-sorted.
        d.setCurrentRow(1);
        editProfile([](QDialog *e) { setField(e, 3, QStringLiteral("más")); }, false);
        d.action(QStringLiteral("aSzerkeszt"))->trigger();
        QCOMPARE(d.rows()[1].password, QStringLiteral("titok"));
        editProfile([](QDialog *e) {
            setField(e, 0, QStringLiteral("Anyaintézmény"));
            setField(e, 5, QStringLiteral("3310"));
        });
        d.action(QStringLiteral("aSzerkeszt"))->trigger();
        QCOMPARE(column(d, 0), QStringList({QStringLiteral("Anyaintézmény"), QStringLiteral("Fiók")}));
        QCOMPARE(d.rows()[0].port, 3310);
        QCOMPARE(d.currentRow(), 0);
    }

    // Text the stored line cannot give back as typed is refused; the editor stays open.
    void editorRefusesTextTheLineCannotHold_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        const QString shifting = QStringLiteral("A mezők nem tartalmazhatnak pontosvesszőt (;) és vezérlőkaraktert.");
        QTest::newRow("semicolon") << QStringLiteral("ti;tok") << shifting;
        QTest::newRow("tab") << QStringLiteral("ti\ttok") << shifting;
        QTest::newRow("blank at the end")
            << QStringLiteral("titok ") << QStringLiteral("A mezők nem kezdődhetnek és nem végződhetnek szóközzel.");
    }
    void editorRefusesTextTheLineCannotHold()
    {
        QFETCH(QString, password);
        QFETCH(QString, message);
        DatabaseListDialog d;
        d.show();
        bool stayed = false;
        ModalDriver::onModal(QString(ProfileEditDialog::ObjectName), [&](QDialog *e) {
            auto *ok = e->findChild<QPushButton *>(QStringLiteral("btnOK"));
            setField(e, 0, QStringLiteral("Fiók"));
            setField(e, 3, password);
            QTest::mouseClick(ok, Qt::LeftButton);
            stayed = e->isVisible();
            setField(e, 3, QStringLiteral("ti tok"));
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        d.action(QStringLiteral("aUj"))->trigger();
        QVERIFY(stayed);
        QCOMPARE(MessageBox::shown().last().text, message);
        QCOMPARE(d.rows().size(), 1);
        QCOMPARE(d.rows()[0].password, QStringLiteral("ti tok"));
        d.action(QStringLiteral("aBezar"))->trigger();
        QCOMPARE(storedLines(ini()), QStringList({QStringLiteral("1=;;3306;;ti tok;Fiók;")}));
    }

    void columnTitleOrdersTheListAndTheStoredKeys()
    {
        IniFile file = ini();
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                         stored(QStringLiteral("a;h;3308;u;p;Első")));
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr2"),
                         stored(QStringLiteral("b;h;25;u;p;Második")));
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr3"),
                         stored(QStringLiteral("c;h;1000;u;p;Harmadik")));
        DatabaseListDialog d;
        d.show();
        QTest::mouseClick(d.grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(d.grid()->horizontalHeader()->sectionViewportPosition(3) + 5, 5));
        QCOMPARE(d.sortColumn(), 3);
        QCOMPARE(column(d, 3),
                 QStringList({QStringLiteral("25"), QStringLiteral("1000"), QStringLiteral("3308")}));
        d.reject();
        QCOMPARE(storedLines(ini()), QStringList({QStringLiteral("1=b;h;25;u;p;Második;"),
                                                  QStringLiteral("2=c;h;1000;u;p;Harmadik;"),
                                                  QStringLiteral("3=a;h;3308;u;p;Első;")}));
    }

    void testFillsTheVersionOrReportsTheRefusal()
    {
        TestDatabase db;
        const ConnectionParams p = db.params();
        IniFile file = ini();
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                         stored(profileLine(p.database, p.host, QString::number(p.port), p.user, p.password,
                                            QStringLiteral("Jó"))));
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr2"),
                         stored(profileLine(p.database, p.host, QString::number(p.port), p.user,
                                            QStringLiteral("rossz"), QStringLiteral("Rossz"))));
        DatabaseListDialog d;
        d.show();
        d.setCurrentRow(0);
        d.action(QStringLiteral("aTeszt"))->trigger();
        QCOMPARE(MessageBox::shown().last().text, QStringLiteral("Kapcsolat vizsgálata sikeres"));
        const QString version =
            db.connection().selectValue(QStringLiteral("SELECT MAX(verzio) FROM verzio")).toString();
        QVERIFY(!version.isEmpty());
        QCOMPARE(d.grid()->item(0, 5)->text(), version);

        d.setCurrentRow(1);
        d.action(QStringLiteral("aTeszt"))->trigger();
        QCOMPARE(MessageBox::shown().last().kind, QStringLiteral("error"));
        QVERIFY2(MessageBox::shown().last().text.startsWith(QStringLiteral("Hiba: Access denied")),
                 qPrintable(MessageBox::shown().last().text));
        QCOMPARE(d.grid()->item(1, 5)->text(), QString());

        // The version is shown, never stored.
        d.reject();
        QCOMPARE(storedLines(ini()).first(), QStringLiteral("1=%1;%2;%3;%4;%5;Jó;")
                                                 .arg(p.database, p.host)
                                                 .arg(p.port)
                                                 .arg(p.user, p.password));
    }

    void scriptBackupRunsBesideTheWindowAndStops()
    {
        TestDatabase db;
        db.connection().exec(QStringLiteral("CREATE TABLE nagy (id INT PRIMARY KEY) ENGINE=InnoDB"));
        db.connection().exec(QStringLiteral("INSERT INTO nagy SELECT seq FROM seq_1_to_300000"));
        const ConnectionParams p = db.params();
        IniFile file = ini();
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                         stored(profileLine(p.database, p.host, QString::number(p.port), p.user, p.password,
                                            QStringLiteral("Mentendő"))));
        QTemporaryDir dir;
        DatabaseListDialog d;
        d.show();

        FileDialog::setNextFileName(dir.filePath(QStringLiteral("leallitott.zip")));
        d.action(QStringLiteral("aBackup"))->trigger();
        QVERIFY(d.isBackupRunning());
        QVERIFY(!d.action(QStringLiteral("aBackup"))->isEnabled());
        QTest::mouseClick(d.stopButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!d.isBackupRunning(), 60000);
        QCOMPARE(d.backupStatus()->text(), QStringLiteral("A mentés leállítva."));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());

        FileDialog::setNextFileName(dir.filePath(QStringLiteral("mentes")));
        d.action(QStringLiteral("aBackup"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!d.isBackupRunning(), 60000);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("mentes.sql")});
        QVERIFY(d.action(QStringLiteral("aBackup"))->isEnabled());

        // Closing the screen stops a running backup first.
        FileDialog::setNextFileName(dir.filePath(QStringLiteral("bezart.sql")));
        d.action(QStringLiteral("aBackup"))->trigger();
        d.reject();
        QVERIFY(!d.isBackupRunning());
        QTest::qWait(100); // the worker's end, queued behind the close, finds nothing left to do
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("mentes.sql")});
        QCOMPARE(MessageBox::shown().size(), 0);
    }

    // Quitting while the full backup runs asks first; quitting anyway stops the tool
    // and leaves no cut file under the chosen name.
    void quittingDuringAFullBackupAsksFirst()
    {
        QTemporaryDir dir;
        const QString tool = dir.filePath(QStringLiteral("dump"));
        {
            QFile f(tool);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\n"
                    "for a; do case \"$a\" in --result-file=*) out=\"${a#--result-file=}\";; esac; done\n"
                    "printf 'CREATE DATABASE csonka' > \"$out\"\n"
                    "sleep 30\n");
            f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        const QString target = dir.filePath(QStringLiteral("teljes.sql"));
        QMainWindow window;
        window.show();
        auto *backup = new DatabaseBackup::FullBackup();
        backup->start(tool, ConnectionParams{}, target);
        guardQuitWhileRunning(backup);

        MessageBox::setNextAnswer(false);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().first().text.contains(QDir::toNativeSeparators(target)));

        MessageBox::setNextAnswer(true);
        QVERIFY(window.close());
        delete backup; // what the application's end does to it
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("dump")});
    }

    void refusedBackupShowsTheServersMessage()
    {
        TestDatabase db(TestDatabase::Empty);
        const ConnectionParams p = db.params();
        IniFile file = ini();
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                         stored(profileLine(p.database, p.host, QString::number(p.port), p.user,
                                            QStringLiteral("rossz"), QStringLiteral("Rossz"))));
        QTemporaryDir dir;
        DatabaseListDialog d;
        d.show();
        FileDialog::setNextFileName(dir.filePath(QStringLiteral("x.sql")));
        d.action(QStringLiteral("aBackup"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!d.isBackupRunning(), 60000);
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY2(MessageBox::shown().last().text.startsWith(QStringLiteral("Hiba: Access denied")),
                 qPrintable(MessageBox::shown().last().text));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestDatabaseList)
#include "tst_databaselist.moc"
