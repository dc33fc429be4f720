#include "app/ActionCatalogue.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest>
#include <stdexcept>

// Every command of the main window: its object name, caption, shortcut, hint and
// the places that hold it.
class TestActionCatalogue : public QObject
{
    Q_OBJECT
    QMainWindow m_window;
    ActionCatalogue *m_catalogue = nullptr;
    QStringList m_tabled; // the rows' names

    // The object names of the menus, toolbars and drop-downs that hold the action.
    QStringList placesOf(QAction *action) const
    {
        QStringList places;
        for (QObject *holder : action->associatedObjects()) {
            if (auto *menu = qobject_cast<QMenu *>(holder))
                places << menu->objectName();
            else if (auto *bar = qobject_cast<QToolBar *>(holder))
                places << bar->objectName();
        }
        places.sort();
        return places;
    }

private Q_SLOTS:
    void initTestCase() { m_catalogue = new ActionCatalogue(&m_window); }

    void everyAction_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QStringList>("places");
        const auto row = [this](const char *name, const char *caption, const char *shortcut, const char *hint,
                            QStringList places) {
            places.sort();
            m_tabled << QString::fromLatin1(name);
            QTest::newRow(name) << QString::fromUtf8(caption) << QString::fromUtf8(shortcut)
                                << QString::fromUtf8(*hint ? hint : caption) << places;
        };
        row("aFrissit", "Frissít", "F5", "", {"mnuKorvena", "tbKicsi"});
        row("aUj", "Új", "Ins", "", {"mnuKorvena", "tbNagy", "pmLista"});
        row("aSzerkeszt", "Szerkeszt", "F2", "", {"mnuKorvena", "tbNagy", "pmLista"});
        row("aTorol", "Töröl", "Ctrl+Del", "", {"mnuKorvena", "tbNagy", "pmLista"});
        row("aNyomtat", "Nyomtat", "Ctrl+P", "", {"mnuKorvena", "pmLista", "pmNyomtat"});
        row("aExcel", "Excelbe...", "Ctrl+E", "", {"mnuKorvena", "pmLista", "pmNyomtat"});
        row("aHtml", "Html export", "Ctrl+H", "", {"mnuKorvena", "pmNyomtat"});
        row("aBezar", "Bezár", "", "", {"mnuKorvena", "tbKicsi", "pmLista"});
        row("aSzur0", "Nincs szűrés", "", "", {"mnuSzures", "pmSzures"});
        row("aSzur1", "Csak a mai nap", "", "", {"mnuSzures", "pmSzures"});
        row("aSzur2", "Nyomtatásra jelöltek", "", "", {"mnuSzures", "pmSzures"});
        row("aSzur3", "Főszámra", "", "", {"mnuSzures", "pmSzures"});
        row("aSzur4", "Kiadottak", "", "", {"mnuSzures", "pmSzures"});
        row("aSzur5", "Csak az utolsó hét", "", "", {"pmSzures"});
        row("aSzur6", "Időszak", "", "", {"pmSzures"});
        row("aSzur7", "Típusra", "", "", {"pmSzures"});
        row("aSzur8", "Lejártak", "", "", {"pmSzures"});
        row("aSzur9", "Csoportra", "", "", {"pmSzures"});
        row("aSzur10", "Figyelmeztetésekre", "", "", {"pmSzures"});
        row("aSzur11", "Ahol nincs csatolt file", "", "", {"pmSzures"});
        row("aSzur12", "Egyéb csoportra", "", "", {"pmSzures"});
        row("aBetuNovel", "Betűméret növelés", "F11", "", {"mnuNezet", "tbKicsi"});
        row("aBetuCsokkent", "Betűméret csökkentése", "F12", "", {"mnuNezet", "tbKicsi"});
        row("aCsoport", "Csoportok", "", "", {"mnuTorzsadatok"});
        row("aStatusz", "Státuszok", "", "", {"mnuTorzsadatok"});
        row("aProjekt", "Projekt", "", "", {"mnuTorzsadatok"});
        row("aMunkaszam", "Munkaszám", "", "", {"mnuTorzsadatok"});
        row("aTipus", "Típus", "", "", {"mnuTorzsadatok"});
        row("aFoszam", "Főszámok", "", "", {"mnuTorzsadatok"});
        row("aUgyfel", "Ügyfelek", "", "", {"mnuTorzsadatok"});
        row("aFigyelmeztet", "Figyelm.", "Ctrl+I", "Figyelmeztetés beállítása", {"mnuEszkozok", "tbNagy"});
        row("aKiad", "Kiad", "Ctrl+F7", "", {"mnuEszkozok", "tbNagy"});
        row("aVisszavesz", "Vissza", "Ctrl+F8", "Visszavesz", {"mnuEszkozok", "tbNagy"});
        row("aNyomReszletes", "Részletes lista", "", "", {"mnuNyomtatasok"});
        row("aMappa", "Mappa fedlap", "", "", {"mnuNyomtatasok"});
        row("aBeerkIdoszak", "Beérkezett dokumentumok időszakra", "", "", {"mnuNyomtatasok"});
        row("aKimenoIdoszak", "Kimenő dokumentumok időszakra", "", "", {"mnuNyomtatasok"});
        row("aEgyebIdoszak", "Egyéb dokumentumok időszakra", "", "", {"mnuNyomtatasok"});
        row("aOsszesIdoszak", "Összes dokumentum időszakra", "", "", {"mnuNyomtatasok"});
        row("aNyomAtvevo", "Átvevőlista", "Ctrl+Shift+P", "", {"mnuNyomtatasok"});
        row("aAtvevo2", "Átvevőlista dátumra", "", "", {"mnuNyomtatasok"});
        row("aKiadott", "Kiadott tételek", "", "", {"mnuNyomtatasok"});
        row("aFigyuLista", "Figyelmeztetések", "", "", {"mnuNyomtatasok"});
        row("aBoritek", "Boríték", "", "", {"mnuNyomtatasok", "pmNyomtat"});
        row("aAjanlott", "Ajánlott", "Ctrl+Shift+I", "Ajánlott szelvény kitöltés", {"mnuNyomtatasok", "pmNyomtat"});
        row("aVKod", "Vonalkód", "", "Vonalkód nyomtatás", {"mnuNyomtatasok", "pmNyomtat"});
        row("aAdatcentrum", "Adatcentrum", "", "", {"mnuNyomtatasok"});
        row("aFelhasznalo", "Felhasználók", "", "", {"mnuRendszer", "tbKicsi"});
        row("aSQL", "Szabad lekérdezés", "", "", {"mnuRendszer", "tbKicsi"});
        row("aAdatbazisok", "Adatbázisok", "", "", {"mnuRendszer"});
        row("aSvBeallit", "Sorvika beállítások", "", "", {"mnuRendszer"});
        row("aBeallit", "Beállítások", "", "", {"mnuRendszer", "tbKicsi"});
        row("aSugo", "Súgó", "F1", "", {"mnuSugo", "tbKicsi"});
        row("aHonlap", "Tarmelo honlapja", "", "", {"mnuSugo", "tbKicsi"});
        row("aLevel", "Levélküldés Tarmelonak", "", "", {"mnuSugo", "tbKicsi"});
        row("aNevjegy", "Névjegy", "", "", {"mnuSugo"});
        row("aNyomniJelol", "Jelöl", "F3", "", {"pmJelol"});
        row("aNyomniMegszuntet", "Jelölések megszűntetése", "F4", "", {"pmJelol"});
        row("aNyomniSzur", "Jelöltek szűrése", "", "", {"pmJelol"});
        row("aSzurProjekt", "Projekt szűrésre jelölés", "", "", {"pmJelol"});
        row("aSzurMunkaszam", "Munkaszám szűrésre jelölés", "", "", {"pmJelol"});
        row("aSzurUgyfel1", "Ügyfél szűrése (kitől)", "", "", {"pmJelol"});
        row("aSzurUgyfel2", "Ügyfél szűrése (kinek)", "", "", {"pmJelol"});
        for (int i = 0; i <= 9; ++i) {
            const QByteArray name = "aStatusz" + QByteArray::number(i);
            m_tabled << QString::fromLatin1(name);
            QTest::newRow(name.constData()) << QString() << QStringLiteral("Alt+%1").arg(i) << QString()
                                            << QStringList{QStringLiteral("pmStatusz")};
        }
        row("aIktNaplo", "Napló", "", "Iktatás napló", {"tbNagy"});
        row("aCsatol", "Csatolás", "F6", "File csatolása", {"tbNagy"});
        row("aMegnez", "Megnéz", "Ctrl+M", "", {"pmFile"});
        row("aMasol", "Iktatószám másolása", "Ctrl+C", "Másol", {"pmLista"});
        row("aVagolapra", "Vágólapra", "Shift+Ins", "", {"pmLista"});
    }
    void everyAction()
    {
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(QString, hint);
        QFETCH(QStringList, places);
        QAction *a = m_catalogue->action(QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(a->objectName(), QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut(), QKeySequence(shortcut));
        QCOMPARE(a->statusTip(), hint);
        QCOMPARE(placesOf(a), places);
    }

    // The table above is the whole catalogue: an action added without its row fails here.
    void noActionOutsideTheTable()
    {
        QStringList names;
        for (QAction *a : m_catalogue->actions())
            names << a->objectName();
        names.sort();
        m_tabled.sort();
        QCOMPARE(names, m_tabled);
    }

    void anUnknownNameFailsLoudly()
    {
        QVERIFY_THROWS_EXCEPTION(std::logic_error, m_catalogue->action(QStringLiteral("aNincsIlyen")));
        QCOMPARE(m_catalogue->find(QStringLiteral("aNincsIlyen")), nullptr);
    }
};

QTEST_MAIN(TestActionCatalogue)
#include "tst_actioncatalogue.moc"
