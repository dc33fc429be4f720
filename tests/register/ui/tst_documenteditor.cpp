// frm_Szerkeszt: what the screen shows, its keys, its tracking of changes and what
// its OK and cancel leave in the register.
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "common/ui/FileDialog.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "register/ui/AttachmentsPage.h"
#include "register/ui/DocumentEditor.h"
#include "register/ui/EditorHooks.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

QString column(qint64 key, const char *name)
{
    return SelectText(QStringLiteral("SELECT IFNULL(%1, '<NULL>') FROM iktato WHERE iktato=%2")
                          .arg(QLatin1String(name))
                          .arg(key),
                      QString());
}

QStringList journal(qint64 key)
{
    const Dataset d = db().query(
        QStringLiteral("SELECT IFNULL(szoveg, '<NULL>') FROM iktnaplo WHERE iktato=%1 ORDER BY iktnaplo")
            .arg(key));
    QStringList rows;
    for (int r = 0; r < d.rowCount(); ++r)
        rows << d.text(r, 0);
    return rows;
}

template <typename T> T *child(QWidget *w, const char *name)
{
    return w->findChild<T *>(QLatin1String(name));
}

} // namespace

class TestDocumentEditor : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

    qint64 newDocument() { return DocumentEdit::create(NewDocumentAnswers{1}, 0, 1).key(); }

    // The editor on a document, shown, with tracking on.
    std::unique_ptr<DocumentEditor> openEditor(qint64 key)
    {
        auto editor = std::make_unique<DocumentEditor>(nullptr, DocumentEdit::open(key));
        editor->show();
        if (!QTest::qWaitForWindowExposed(editor.get()))
            return nullptr;
        if (!QTest::qWaitFor([&] { return editor->trackingOn(); }))
            return nullptr;
        return editor;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (2, 'Pénzügy')"));
        ExecSql(
            QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, belso) VALUES (3, 'Kiss Péter', 'I')"));
        ExecSql(QStringLiteral("INSERT INTO tipus (tipus, tipus_nev) VALUES (2, 'Számla')"));
        ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, belso, kellsorvika) VALUES "
                               "(4, 'Webes Anna', 'I', 'I')"));
    }
    void init()
    {
        ModalDriver::resetScreenState();
        m_data = std::make_unique<TempDataFolder>();
        Connection::setCurrent(&m_db->connection());
        session().user.code = 1;
        session().settings.megjelenoAdatok = QString(17, QLatin1Char('I'));
        documentPickers() = DocumentPickers{};
    }
    void cleanup()
    {
        documentPickers() = DocumentPickers::standard();
        editorHooks() = EditorHooks{};
        m_data.reset();
    }
    void cleanupTestCase() { m_db.reset(); }

    void visibilityFollowsTheSettings_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("visible");
        QTest::addColumn<QStringList>("hidden");
        QTest::newRow("all") << QString(17, QLatin1Char('I')) << QStringList{"csoport", "ugyf_kitol", "tipus"}
                             << QStringList{};
        QTest::newRow("none: untagged stay") << QString() << QStringList{"az1", "az2", "targy", "hivszam"}
                                             << QStringList{"csoport", "ugyf_kitol",  "ugyf_hova", "tarolo",
                                                            "dat_erk", "kulcsszavak", "projekt",   "tipus"};
        QTest::newRow("group and type only")
            << QStringLiteral("I           I") << QStringList{"csoport", "tipus"}
            << QStringList{"ugyf_kitol", "munkaszam", "egyebcsop"};
        QTest::newRow("tag 8: the other grouping's button, tag 11: its name box")
            << QStringLiteral("       I  I") << QStringList{"btn_egyebcsop", "egyebcsop", "ugyf_intezkedesre"}
            << QStringList{"munkaszam"};
    }
    void visibilityFollowsTheSettings()
    {
        QFETCH(QString, shown);
        QFETCH(QStringList, visible);
        QFETCH(QStringList, hidden);
        session().settings.megjelenoAdatok = shown;
        auto editor = openEditor(newDocument());
        QVERIFY(editor);
        for (const QString &name : visible)
            QVERIFY2(editor->findChild<QWidget *>(name)->isVisible(), qPrintable(name));
        for (const QString &name : hidden)
            QVERIFY2(!editor->findChild<QWidget *>(name)->isVisible(), qPrintable(name));
    }

    void typedChangesMakeTheJournalAndOneUpdate()
    {
        const qint64 key = newDocument();
        auto editor = openEditor(key);
        QVERIFY(editor);
        auto *subject = child<QComboBox>(editor.get(), "targy");
        auto *reference = child<QLineEdit>(editor.get(), "hivszam");
        subject->setFocus();
        // Lower-case first letter of an empty subject goes upper; the rest stays as typed.
        ModalDriver::typeText(subject->lineEdit(), QStringLiteral("ajánlat „őszi” – kész"));
        QCOMPARE(subject->currentText(), QStringLiteral("Ajánlat „őszi” – kész"));
        QCOMPARE(editor->edit().pending(), QStringLiteral("targy = Ajánlat „őszi” – kész"));
        reference->setFocus();
        QTRY_COMPARE(editor->edit().changes(), QStringList{"targy = Ajánlat „őszi” – kész"});
        ModalDriver::typeText(reference, QStringLiteral("H-1"));
        // Dates make no line, but are written.
        child<QDateEdit>(editor.get(), "dat_hatid")->setDate(QDate(2030, 1, 2));
        QTest::keyClick(reference, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(editor->result(), int(QDialog::Accepted));
        QCOMPARE(column(key, "targy"), QStringLiteral("Ajánlat „őszi” – kész"));
        QCOMPARE(column(key, "hivszam"), QStringLiteral("H-1"));
        QCOMPARE(column(key, "dat_hatid"), QStringLiteral("2030-01-02"));
        QCOMPARE(journal(key), QStringList{"targy = Ajánlat „őszi” – kész\r\nhivszam = H-1\r\n"});
    }

    void theSubjectBoxTakes255Characters()
    {
        auto editor = openEditor(newDocument());
        QVERIFY(editor);
        auto *subject = child<QComboBox>(editor.get(), "targy");
        subject->setFocus();
        QTest::keyClicks(subject->lineEdit(), QString(300, QLatin1Char('x')));
        QCOMPARE(subject->currentText().size(), 255);
    }

    void mainNumberMovesOnAndNumbersTheSubNumber()
    {
        const qint64 key = newDocument();
        auto editor = openEditor(key);
        QVERIFY(editor);
        auto *az1 = child<QLineEdit>(editor.get(), "az1");
        auto *az2 = child<QLineEdit>(editor.get(), "az2");
        az2->clear();
        az1->setFocus();
        az1->setText(QStringLiteral("55"));
        const int expected =
            SelectInt(QStringLiteral("SELECT IFNULL(MAX(az2),0) FROM iktato WHERE az1=55"), 0) + 1;
        QTest::keyClick(az1, Qt::Key_Return);
        QTRY_VERIFY(az2->hasFocus());
        QCOMPARE(az2->text(), QString::number(expected));
        // The lines: the typed main number, then the number the server gave.
        QVERIFY(editor->edit().changes().contains(QStringLiteral("az1 = 55")));
        editor->reject();
    }

    void groupChangeKeepsItsJournalRowWhenCancelled()
    {
        const qint64 key = newDocument();
        auto editor = openEditor(key);
        QVERIFY(editor);
        documentPickers().group = [](QWidget *) { return 2; };
        child<QToolButton>(editor.get(), "btn_csoport")->click();
        QCOMPARE(child<QLineEdit>(editor.get(), "csoport")->text(), QStringLiteral("Pénzügy"));
        editor->reject();
        QCOMPARE(journal(key), QStringList{DocumentEdit::groupChangeWarning()});
        QCOMPARE(column(key, "csoport"), QStringLiteral("1"));
    }

    void pickersStoreTheChoiceAndItsLine()
    {
        const qint64 key = newDocument();
        auto editor = openEditor(key);
        QVERIFY(editor);
        MasterTable::Caller asked{};
        documentPickers().masterData = [&](QWidget *, int, MasterTable::Caller caller) {
            asked = caller;
            return DocumentChoice{2, QStringLiteral("Számla")};
        };
        ClientKind kind{};
        documentPickers().client = [&](QWidget *, int, ClientKind k, const QString &) {
            kind = k;
            return DocumentChoice{3, QStringLiteral("Kiss Péter")};
        };
        child<QToolButton>(editor.get(), "btn_tipus")->click();
        QCOMPARE(asked, MasterTable::Caller::EditorType);
        child<QToolButton>(editor.get(), "btn_ugyf_hova")->click();
        QCOMPARE(kind, ClientKind::Internal); // incoming: the addressee is one of us
        QCOMPARE(child<QLineEdit>(editor.get(), "tipus")->text(), QStringLiteral("Számla"));
        editor->accept();
        QCOMPARE(column(key, "tipus"), QStringLiteral("2"));
        QCOMPARE(column(key, "ugyf_hova"), QStringLiteral("3"));
        // Leaving "Főszám" of a new document also numbered its empty sub-number.
        QCOMPARE(journal(key).size(), 1);
        QVERIFY2(
            journal(key).first().startsWith(QStringLiteral("tipus = Számla\r\nugyf_hova = Kiss Péter\r\n")),
            qPrintable(journal(key).first()));
    }

    void aDocumentWithoutDateOpensEmptyAndOkAsksForIt()
    {
        ExecSql(QStringLiteral("INSERT INTO iktato (az1, targy, csoport) VALUES (1, 'Import', 1)"));
        const qint64 key = m_db->connection().lastInsertId();
        auto editor = openEditor(key);
        QVERIFY(editor);
        auto *arrival = child<QDateEdit>(editor.get(), "dat_erk");
        QCOMPARE(arrival->text().trimmed(), QString());
        editor->accept();
        QVERIFY(editor->isVisible());
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Add meg a beérkezés dátumát!"));
        QVERIFY(journal(key).isEmpty());
        arrival->setDate(QDate(2024, 2, 3));
        editor->accept();
        QVERIFY(!editor->isVisible());
        QCOMPARE(column(key, "dat_erk"), QStringLiteral("2024-02-03"));
    }

    void writeProtectionLeavesNothingToSave()
    {
        session().settings.irasvedett = true;
        const qint64 key = newDocument();
        auto editor = openEditor(key);
        QVERIFY(editor);
        int ok = 0;
        for (QPushButton *b : editor->findChildren<QPushButton *>()) {
            if (b->text() == QLatin1String("OK")) {
                ++ok;
                QVERIFY(!b->isEnabled());
            }
        }
        QCOMPARE(ok, 4);
        for (const char *name : {"btnFoszam", "btn_csoport", "btn_ugyf_kitol", "btn_tipus", "btnSorvika"})
            QVERIFY2(!editor->findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);
        QTest::keyClick(child<QLineEdit>(editor.get(), "hivszam"), Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(editor->isVisible());
        QVERIFY(journal(key).isEmpty());
    }

    void copiesAreWrittenAtOnce()
    {
        const qint64 key = newDocument();
        auto editor = openEditor(key);
        QVERIFY(editor);
        ClientKind kind{};
        documentPickers().client = [&](QWidget *, int, ClientKind k, const QString &) {
            kind = k;
            return DocumentChoice{3, QStringLiteral("Kiss Péter")};
        };
        editor->findChild<QAction *>(QStringLiteral("aUjMasolat"))->trigger();
        QCOMPARE(kind, ClientKind::Internal);
        auto *list = child<QAbstractItemView>(editor.get(), "masolatok");
        QCOMPARE(list->model()->rowCount(), 1);
        editor->reject();
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM masolat WHERE iktato=%1").arg(key), -1), 1);
        QVERIFY(journal(key).isEmpty());
    }

    void newDocumentSeriesRunsThroughTheQuestions()
    {
        session().settings.vancsoport = true;
        session().settings.vantipuskerdes = true;
        QStringList asked;
        documentPickers().group = [&](QWidget *) {
            asked << QStringLiteral("group");
            return 1;
        };
        documentPickers().client = [&](QWidget *, int, ClientKind, const QString &title) {
            asked << title;
            return DocumentChoice{3, QString()};
        };
        documentPickers().masterData = [&](QWidget *, int, MasterTable::Caller) {
            asked << QStringLiteral("type");
            return DocumentChoice{2, QStringLiteral("Számla")};
        };
        ModalDriver::onModal(QString(DocumentEditor::ObjectName), [](QDialog *d) {
            QTRY_VERIFY(static_cast<DocumentEditor *>(d)->trackingOn());
            d->accept();
        });
        const qint64 key = OpenDocumentEditor(nullptr, -1, 1);
        QVERIFY(key > 0);
        QCOMPARE(asked, (QStringList{"group", "Kitől", "Kinek", "type"}));
        QCOMPARE(column(key, "tipus"), QStringLiteral("2"));
        QCOMPARE(column(key, "irany"), QStringLiteral("1"));
        QCOMPARE(journal(key), QStringList{QString()});
    }

    // Keys go where a keyboard sends them: to the focused widget.
    void subjectTakesAnUpperCaseFirstLetter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a") << QStringLiteral("ajanlat") << QStringLiteral("Ajanlat");
        QTest::newRow("accented") << QStringLiteral("árajánlat") << QStringLiteral("Árajánlat");
        QTest::newRow("digit") << QStringLiteral("1. pont") << QStringLiteral("1. pont");
    }
    void subjectTakesAnUpperCaseFirstLetter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto editor = openEditor(newDocument());
        QVERIFY(editor);
        auto *subject = child<QComboBox>(editor.get(), "targy");
        subject->setFocus();
        QTRY_VERIFY(QApplication::focusWidget());
        ModalDriver::typeText(QApplication::focusWidget(), typed);
        QCOMPARE(subject->currentText(), shown);
        editor->reject();
    }

    void numberBoxesTakeDigitsOnly_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("main number, decimal")
            << QStringLiteral("az1") << QStringLiteral("12.5") << QStringLiteral("125");
        QTest::newRow("main number, letter O")
            << QStringLiteral("az1") << QStringLiteral("1O") << QStringLiteral("1");
        QTest::newRow("sub-number, minus")
            << QStringLiteral("az2") << QStringLiteral("-3") << QStringLiteral("3");
    }
    void numberBoxesTakeDigitsOnly()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto editor = openEditor(newDocument());
        QVERIFY(editor);
        auto *edit = editor->findChild<QLineEdit *>(box);
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        edit->clear();
        ModalDriver::typeText(QApplication::focusWidget(), typed);
        QCOMPARE(edit->text(), shown);
        editor->reject();
    }

    // Tab goes from field to field; a pick (F4 in the name box) moves on to the next field.
    void tabSkipsPictureButtonsAndAPickMovesOn()
    {
        auto editor = openEditor(newDocument());
        QVERIFY(editor);
        child<QLineEdit>(editor.get(), "az1")->setFocus();
        QTRY_VERIFY(QApplication::focusWidget());
        QStringList visited;
        for (int i = 0; i < 60; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focused = QApplication::focusWidget();
            QVERIFY(focused);
            QVERIFY2(!qobject_cast<QToolButton *>(focused), qPrintable(focused->objectName()));
            visited << focused->objectName();
        }
        QVERIFY(visited.contains(QStringLiteral("tipus")));

        documentPickers().masterData = [](QWidget *, int, MasterTable::Caller) {
            return DocumentChoice{2, QStringLiteral("Számla")};
        };
        auto *type = child<QLineEdit>(editor.get(), "tipus");
        type->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), type);
        QTest::keyClick(type, Qt::Key_F4);
        QCOMPARE(type->text(), QStringLiteral("Számla"));
        QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>(editor.get(), "kulcsszavak"));
        editor->reject();
    }

    void clientPickersFollowTheChosenDirection()
    {
        auto editor = openEditor(newDocument()); // incoming
        QVERIFY(editor);
        QList<ClientKind> kinds;
        documentPickers().client = [&](QWidget *, int, ClientKind k, const QString &) {
            kinds << k;
            return DocumentChoice{};
        };
        child<QToolButton>(editor.get(), "btn_ugyf_kitol")->click();
        for (QRadioButton *r : editor->findChildren<QRadioButton *>())
            if (r->text() == QStringLiteral("Kimenő"))
                r->click();
        child<QToolButton>(editor.get(), "btn_ugyf_kitol")->click();
        child<QToolButton>(editor.get(), "btn_ugyf_hova")->click();
        QCOMPARE(kinds,
                 (QList<ClientKind>{ClientKind::External, ClientKind::Internal, ClientKind::External}));
        editor->reject();
    }

    void handOverIsCheckedBeforeSaving()
    {
        bool handedOver = false;
        editorHooks().sendToOnlineStore = [&](QWidget *, qint64) { handedOver = true; };
        const qint64 key = newDocument();
        const QString reference = column(key, "hivszam");
        auto editor = openEditor(key);
        QVERIFY(editor);
        child<QLineEdit>(editor.get(), "hivszam")->setText(QStringLiteral("H-9"));
        child<QPushButton>(editor.get(), "btnSorvika")->click();
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Nincs file feltöltve."));
        QVERIFY(editor->isVisible());
        QVERIFY(!editor->sendToStoreRequested());
        QVERIFY(journal(key).isEmpty());
        QCOMPARE(column(key, "hivszam"), reference);
        editor->reject();

        ExecSql(QStringLiteral("UPDATE iktato SET filenev='a.pdf', ugyf_intezkedesre=4 WHERE iktato=%1")
                    .arg(key));
        editor = openEditor(key);
        QVERIFY(editor);
        child<QPushButton>(editor.get(), "btnSorvika")->click();
        QVERIFY(!editor->isVisible());
        QVERIFY(editor->sendToStoreRequested());
        QCOMPARE(journal(key).size(), 1);
        QVERIFY(!handedOver); // OpenDocumentEditor hands over once the screen has closed
    }

    // After "Csoport" changes, the attachments go to and come from the new group's folder.
    void attachmentsFollowTheGroupChange()
    {
        QTemporaryDir work;
        ProgramSettings &s = session().settings;
        s.mentesutvonal = work.filePath(QStringLiteral("tar"));
        s.megnyitasutvonal = work.filePath(QStringLiteral("nyit"));
        s.mentescsoport = true;
        editorHooks().attachmentsPage = [](QWidget *parent, qint64 document, std::function<int()> group,
                                           bool readOnly) -> QWidget * {
            return new AttachmentsPage(parent, document, std::move(group), readOnly);
        };
        const qint64 key = newDocument();
        auto editor = openEditor(key);
        QVERIFY(editor);
        documentPickers().group = [](QWidget *) { return 2; };
        child<QToolButton>(editor.get(), "btn_csoport")->click();
        auto *page = editor->findChild<AttachmentsPage *>();
        QVERIFY(page);
        QFile file(work.filePath(QStringLiteral("Level.pdf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("tartalom");
        file.close();
        FileDialog::setNextFileName(file.fileName());
        ModalDriver::trigger(page, "aFileUj");
        const QString stored =
            SelectText(QStringLiteral("SELECT filenev FROM iktato_file WHERE iktato=%1").arg(key), {});
        QVERIFY(QFile::exists(work.filePath(QStringLiteral("tar/00002/")) + stored));
        ModalDriver::trigger(page, "aFileMegnez");
        QCOMPARE(MessageBox::shown().size(), 0);
        QCOMPARE(DesktopServices::opened().size(), 1);
        editor->reject();
    }
};

QTEST_MAIN(TestDocumentEditor)
#include "tst_documenteditor.moc"
