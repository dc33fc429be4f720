#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "common/SqlText.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "core/ui/DatabaseChooser.h"
#include "core/ui/LoginDialog.h"
#include "core/ui/Startup.h"
#include "db/DbHelpers.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// Start-up as the program runs it: a main window only when start-up gave a connection.
std::unique_ptr<MainWindow> start()
{
    std::unique_ptr<Connection> connection = runStartup();
    return connection ? std::make_unique<MainWindow>(std::move(connection)) : nullptr;
}

class TestStartup : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TestDatabase> m_emptyDb;
    std::unique_ptr<TempDataFolder> m_data;

    QString lineFor(const QString &database, const QString &name) const
    {
        const ConnectionParams p = m_db->params();
        return profileLine(database, p.host, QString::number(p.port), p.user, p.password, name);
    }
    QString goodLine(const QString &name = QStringLiteral("Teszt")) const { return lineFor(m_db->name(), name); }
    IniFile ini() const { return IniFile(m_data->file(QStringLiteral("Korvena.ini"))); }
    QByteArray iniBytes() const
    {
        QFile f(m_data->file(QStringLiteral("Korvena.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The file as start-up left it, without the place of a chooser the user closed.
    QByteArray iniBytesWithoutChooserPlace() const
    {
        IniFile file = ini();
        file.removeSection(QString(DatabaseChooser::ObjectName));
        return iniBytes();
    }
    static bool wasShown(const QString &text)
    {
        for (const auto &box : MessageBox::shown())
            if (box.text.contains(text))
                return true;
        return false;
    }

    static QString lastError()
    {
        const auto shown = MessageBox::shown();
        return shown.isEmpty() ? QString() : shown.last().text;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        m_emptyDb = std::make_unique<TestDatabase>(TestDatabase::Empty);
        Connection::setCurrent(&m_db->connection());
        ExecSql(QStringLiteral("UPDATE tulajdonos SET tulajdonos = 'Próba és Társa Kft.'"));
        MessageBox::setRecording(true);
    }
    void init()
    {
        m_data = std::make_unique<TempDataFolder>();
        AppFolders::refresh();
        MessageBox::clearShown();
        session() = Session();
        Connection::setCurrent(&m_db->connection()); // a closed main window leaves none
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N'"));
        ExecSql(QStringLiteral("UPDATE verzio SET verzio = '24.0.0.367'"));
    }
    void cleanup() { m_data.reset(); }
    void cleanupTestCase()
    {
        Connection::setCurrent(&m_db->connection());
        m_emptyDb.reset();
        m_db.reset();
    }

    void oneReachableProfileSkipsTheChooser()
    {
        IniFile file = ini();
        storeNewProfile(file, goodLine());
        ModalSequence driver;
        driver.then([](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
        const auto window = start();
        QVERIFY(window);
        QVERIFY2(driver.seen().isEmpty(), qPrintable(driver.seen().join(',')));
        QCOMPARE(window->windowTitle(), QStringLiteral("Korvena: [Próba és Társa Kft.]"));
        QCOMPARE(session().user.login, QStringLiteral("rendszergazda"));
        window->close();
        QCOMPARE(IniFile(ini().path()).readString(QStringLiteral("User"), QStringLiteral("LastUser")),
                 QStringLiteral("rendszergazda"));
    }

    void twoProfilesOfferTheChooser()
    {
        IniFile file = ini();
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                         ScrambleProfile(lineFor(QStringLiteral("nincs_ilyen_db"), QStringLiteral("Első"))));
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr2"),
                         ScrambleProfile(lineFor(m_db->name(), QString()))); // no display name: not offered
        file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr3"),
                         ScrambleProfile(goodLine(QStringLiteral("Harmadik"))));
        ModalSequence driver;
        QStringList entries;
        QString title;
        driver.then([&](QWidget *w) {
            title = w->windowTitle();
            auto *list = w->findChild<QListWidget *>();
            for (int i = 0; i < list->count(); ++i)
                entries << list->item(i)->text();
            QTest::keyClick(list, Qt::Key_Up); // wraps round to the last entry
            QTest::keyClick(list, Qt::Key_Return);
        });
        QVERIFY(start());
        QCOMPARE(driver.seen(), QStringList{QStringLiteral("frm_AdatbazisNyit")});
        QCOMPARE(title, QStringLiteral("Korvena Iktatás adatbázis választás"));
        QCOMPARE(entries, (QStringList{QStringLiteral("1; Első"), QStringLiteral("3; Harmadik")}));
        QCOMPARE(session().profileLine, goodLine(QStringLiteral("Harmadik")));
    }

    void noProfileShowsTheFirstConnectionScreen()
    {
        const ConnectionParams p = m_db->params();
        ModalSequence driver;
        QString title;
        driver.then([&](QWidget *w) {
            title = w->windowTitle();
            auto set = [w](const char *name, const QString &text) {
                w->findChild<QLineEdit *>(QLatin1String(name))->setText(text);
            };
            set("edServer", p.host);
            set("edUser", p.user);
            set("edPassword", p.password);
            set("edDatabase", p.database);
            set("edDisplayName", QStringLiteral("Új adatbázis"));
            set("edPort", QString::number(p.port));
            QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("edPassword"))->displayText(),
                     QString(p.password.size(), QLatin1Char('*')));
            auto *ok = w->findChild<QPushButton *>(QStringLiteral("btnOK"));
            QVERIFY(!ok->isEnabled());
            w->findChild<QPushButton *>(QStringLiteral("btnTeszt"))->click();
            QVERIFY(ok->isEnabled());
            ok->click();
        });
        QVERIFY(start());
        QCOMPARE(title, QStringLiteral("Adatbázis beállítás"));
        const QString stored = ini().readString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"));
        const QString line = profileLine(p.database, p.host, QString::number(p.port), p.user, p.password,
                                         QStringLiteral("Új adatbázis"));
        QVERIFY(!stored.isEmpty());
        QVERIFY(!stored.contains(p.database)); // scrambled
        QCOMPARE(UnscrambleProfile(stored), line);
        QCOMPARE(session().profileLine, line);
    }

    void cancelledFirstConnectionAbortsAndWritesNothing()
    {
        ModalSequence driver;
        driver.then([](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
        QVERIFY(!start());
        QVERIFY(!QFile::exists(m_data->file(QStringLiteral("Korvena.ini"))));
    }

    void otherVersionIsRefused_data()
    {
        QTest::addColumn<QString>("version");
        QTest::newRow("one build above") << QStringLiteral("24.0.0.368");
        QTest::newRow("one build below") << QStringLiteral("24.0.0.366");
    }
    void otherVersionIsRefused()
    {
        QFETCH(QString, version);
        ExecSql(QStringLiteral("UPDATE verzio SET verzio = ") + SqlLiteral(version));
        IniFile file = ini();
        storeNewProfile(file, goodLine());
        const QByteArray before = iniBytes();
        QVERIFY(!start());
        QCOMPARE(lastError(), QStringLiteral("Eltérő verziók, hiba lehetséges, frissítse programját, "
                                             "adatbázisát\r\nadatbázis : ") +
                                  version + QStringLiteral("\r\nprogram: 24.0.0.367"));
        QCOMPARE(iniBytes(), before);
    }

    void unreachableServerIsReported()
    {
        IniFile file = ini();
        const ConnectionParams p = m_db->params();
        storeNewProfile(file, profileLine(p.database, p.host, QStringLiteral("1"), p.user, p.password,
                                          QStringLiteral("Nem elérhető")));
        ModalSequence driver;
        driver.then([](QWidget *w) { static_cast<QDialog *>(w)->reject(); }); // the chooser after the failure
        QVERIFY(!start());
        QVERIFY(MessageBox::shown().first().text.startsWith(QStringLiteral("Hiba: ")));
        QCOMPARE(driver.seen(), QStringList{QStringLiteral("frm_AdatbazisNyit")});
    }

    void brokenStartEndsCleanly_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("login");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("screens"); // a chooser is cancelled, a login tried

        const ConnectionParams p = m_db->params();
        const QString port = QString::number(p.port);
        const QString name = QStringLiteral("Teszt");
        const QString unstorable = QStringLiteral("jelszó©"); // code page 1250 holds it, latin2 does not
        const QStringList chooser{QString(DatabaseChooser::ObjectName)};
        // Failures no step expects reach the error handler, which offers a report naming them.
        QTest::newRow("no database name")
            << profileLine(QString(), p.host, port, p.user, p.password, name) << false
            << QStringLiteral("frm_Main.FormCreate-No database selected (1046)") << QStringList();
        QTest::newRow("empty database")
            << profileLine(m_emptyDb->name(), p.host, port, p.user, p.password, name) << false
            << QStringLiteral("verzio' doesn't exist (1146)") << QStringList();
        QTest::newRow("port not a number")
            << profileLine(p.database, p.host, QStringLiteral("33o6"), p.user, p.password, name) << false
            << QStringLiteral("frm_Main.FormCreate-Érvénytelen portszám: '33o6'") << chooser;
        QTest::newRow("profile password latin2 cannot hold")
            << profileLine(p.database, p.host, port, p.user, unstorable, name) << false
            << QStringLiteral(
                   "Hiba: A szöveg olyan karaktert tartalmaz, amelyet az adatbázis nem tud tárolni: „©”.")
            << chooser;
        QTest::newRow("login password latin2 cannot hold")
            << goodLine() << true
            << QStringLiteral(
                   "Ismeretlen hiba, indítsa újra a programot.\r\nA szöveg olyan karaktert tartalmaz")
            << QStringList{QString(LoginDialog::ObjectName)};
    }
    void brokenStartEndsCleanly()
    {
        QFETCH(QString, line);
        QFETCH(bool, login);
        QFETCH(QString, shown);
        QFETCH(QStringList, screens);
        if (login)
            ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'I'"));
        IniFile file = ini();
        storeNewProfile(file, line);
        QCOMPARE(UnscrambleProfile(file.readString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"))),
                 line);
        const QByteArray before = iniBytes();

        ModalSequence driver;
        for (int i = 0; i < 2; ++i)
            driver.then([](QWidget *w) {
                if (w->objectName() != LoginDialog::ObjectName) {
                    static_cast<QDialog *>(w)->reject();
                    return;
                }
                w->findChild<QLineEdit *>(QStringLiteral("edtFelhasznalo"))
                    ->setText(QStringLiteral("rendszergazda"));
                w->findChild<QLineEdit *>(QStringLiteral("edtJelszo"))->setText(QStringLiteral("jelszó©"));
                w->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            });
        QVERIFY(!start());
        QVERIFY2(wasShown(shown), qPrintable(lastError()));
        QCOMPARE(driver.seen(), screens);
        QCOMPARE(Connection::current(), &m_db->connection()); // none left behind that is gone
        QCOMPARE(iniBytesWithoutChooserPlace(), before);
    }

    void ctrlEnterInTheChooserConfirms()
    {
        IniFile file = ini();
        storeNewProfile(file, lineFor(QStringLiteral("nincs_ilyen_db"), QStringLiteral("Első")));
        storeNewProfile(file, goodLine(QStringLiteral("Második")));
        ModalSequence driver;
        bool stayedOpen = false;
        driver.then([&](QWidget *w) {
            auto *button = w->findChild<QPushButton *>(QStringLiteral("btnUj"));
            // The first entry does not connect: its error, and the chooser stays.
            QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);
            stayedOpen = w->isVisible();
            w->findChild<QListWidget *>()->setCurrentRow(1);
            QTest::keyClick(button, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        });
        QVERIFY(start());
        QVERIFY(stayedOpen);
        QVERIFY(lastError().startsWith(QStringLiteral("Hiba: ")));
        QCOMPARE(session().profileLine, goodLine(QStringLiteral("Második")));
    }

    void loginIsAskedWhenTheRegisterWantsIt()
    {
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'I'"));
        IniFile file = ini();
        storeNewProfile(file, goodLine());
        ModalSequence driver;
        QString title;
        driver.then([&](QWidget *w) {
            title = w->windowTitle();
            w->findChild<QLineEdit *>(QStringLiteral("edtFelhasznalo"))->setText(QStringLiteral("rendszergazda"));
            w->findChild<QLineEdit *>(QStringLiteral("edtJelszo"))->setText(QStringLiteral("rossz"));
            w->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            QVERIFY(w->isVisible());
            w->findChild<QLineEdit *>(QStringLiteral("edtJelszo"))->setText(QStringLiteral("pirkalo"));
            w->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        const auto window = start();
        QVERIFY(window);
        QCOMPARE(title, QStringLiteral("Belépés azonosítás"));
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Érvénytelen felhasználó, vagy jelszó"));
        window->close();
        QCOMPARE(IniFile(ini().path()).readString(QStringLiteral("User"), QStringLiteral("LastUser")),
                 QStringLiteral("rendszergazda"));
    }

    // The server's trail of document changes tells the program's changes by this
    // variable; a repaired link must still carry it.
    void loggedInUserIsKnownToTheServerAlsoAfterReconnecting()
    {
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'I'"));
        ExecSql(QStringLiteral("INSERT IGNORE INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, canedit, "
                               "jelszomd5, torolve) VALUES (7, 'elek', 'Teszt Elek', 'I', MD5('titok'), 'N')"));
        IniFile file = ini();
        storeNewProfile(file, goodLine());
        ModalSequence driver;
        driver.then([&](QWidget *w) {
            w->findChild<QLineEdit *>(QStringLiteral("edtFelhasznalo"))->setText(QStringLiteral("elek"));
            w->findChild<QLineEdit *>(QStringLiteral("edtJelszo"))->setText(QStringLiteral("titok"));
            w->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        const auto window = start();
        QVERIFY(window);
        Connection &c = window->connection();
        const QString variable = QStringLiteral("SELECT @korvena_felhkod");
        QCOMPARE(c.selectValue(variable).toInt(), 7);

        const unsigned long before = c.threadId();
        m_db->connection().exec(QStringLiteral("KILL ") + QString::number(before));
        QTest::qWait(100);
        QCOMPARE(c.selectValue(variable).toInt(), 7);
        QVERIFY(c.threadId() != before);
        QCOMPARE(c.reconnectCount(), 1);
        window->close();
    }

    void withoutLoginTheBuiltInAdministratorIsKnown()
    {
        IniFile file = ini();
        storeNewProfile(file, goodLine());
        const auto window = start();
        QVERIFY(window);
        QCOMPARE(window->connection().selectValue(QStringLiteral("SELECT @korvena_felhkod")).toInt(), 1);
        window->close();
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
