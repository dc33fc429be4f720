#include "app/ActionCatalogue.h"

#include "common/LastAction.h"
#include "common/Text.h"
#include "core/ProgramSettings.h"
#include "core/ui/ErrorHandler.h"
#include "db/Dataset.h"
#include "register/DocumentFilter.h"
#include "register/ui/Icons.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <stdexcept>

ActionCatalogue::ActionCatalogue(QMainWindow *window) : QObject(window), m_window(window)
{
    // Menu "Korvena"
    make(QStringLiteral("aFrissit"), QStringLiteral("Frissít"), QStringLiteral("F5"));
    make(QStringLiteral("aUj"), QStringLiteral("Új"), QStringLiteral("Ins"));
    make(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"), QStringLiteral("F2"));
    make(QStringLiteral("aTorol"), QStringLiteral("Töröl"), QStringLiteral("Ctrl+Del"));
    make(QStringLiteral("aNyomtat"), QStringLiteral("Nyomtat"), QStringLiteral("Ctrl+P"));
    make(QStringLiteral("aExcel"), QStringLiteral("Excelbe..."), QStringLiteral("Ctrl+E"));
    make(QStringLiteral("aHtml"), QStringLiteral("Html export"), QStringLiteral("Ctrl+H"));
    make(QStringLiteral("aBezar"), QStringLiteral("Bezár"));

    // The filter entries, one marked at a time.
    m_filterGroup = new QActionGroup(this);
    m_filterGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (int i = 0; i < FilterEntryCount; ++i) {
        const auto entry = FilterEntry(i);
        QAction *a = make(filterEntryActionName(entry), filterEntryCaption(entry));
        a->setCheckable(true);
        m_filterGroup->addAction(a);
    }
    action(QStringLiteral("aSzur0"))->setChecked(true);
    QAction *expired = action(QStringLiteral("aSzur8"));
    expired->setVisible(false);
    expired->setEnabled(false);

    // "Nézet"
    make(QStringLiteral("aBetuNovel"), QStringLiteral("Betűméret növelés"), QStringLiteral("F11"));
    make(QStringLiteral("aBetuCsokkent"), QStringLiteral("Betűméret csökkentése"), QStringLiteral("F12"));

    // "Törzsadatok"
    make(QStringLiteral("aCsoport"), QStringLiteral("Csoportok"));
    make(QStringLiteral("aStatusz"), QStringLiteral("Státuszok"));
    make(QStringLiteral("aProjekt"), QStringLiteral("Projekt"));
    make(QStringLiteral("aMunkaszam"), QStringLiteral("Munkaszám"));
    make(QStringLiteral("aTipus"), QStringLiteral("Típus"));
    make(QStringLiteral("aFoszam"), QStringLiteral("Főszámok"));
    make(QStringLiteral("aUgyfel"), QStringLiteral("Ügyfelek"));

    // "Eszközök"
    make(QStringLiteral("aFigyelmeztet"), QStringLiteral("Figyelm."), QStringLiteral("Ctrl+I"),
         QStringLiteral("Figyelmeztetés beállítása"));
    make(QStringLiteral("aKiad"), QStringLiteral("Kiad"), QStringLiteral("Ctrl+F7"));
    make(QStringLiteral("aVisszavesz"), QStringLiteral("Vissza"), QStringLiteral("Ctrl+F8"),
         QStringLiteral("Visszavesz"));

    // "Nyomtatások"
    make(QStringLiteral("aNyomReszletes"), QStringLiteral("Részletes lista"));
    make(QStringLiteral("aMappa"), QStringLiteral("Mappa fedlap"));
    make(QStringLiteral("aBeerkIdoszak"), QStringLiteral("Beérkezett dokumentumok időszakra"));
    make(QStringLiteral("aKimenoIdoszak"), QStringLiteral("Kimenő dokumentumok időszakra"));
    make(QStringLiteral("aEgyebIdoszak"), QStringLiteral("Egyéb dokumentumok időszakra"));
    make(QStringLiteral("aOsszesIdoszak"), QStringLiteral("Összes dokumentum időszakra"));
    make(QStringLiteral("aNyomAtvevo"), QStringLiteral("Átvevőlista"), QStringLiteral("Ctrl+Shift+P"));
    make(QStringLiteral("aAtvevo2"), QStringLiteral("Átvevőlista dátumra"));
    make(QStringLiteral("aKiadott"), QStringLiteral("Kiadott tételek"));
    make(QStringLiteral("aFigyuLista"), QStringLiteral("Figyelmeztetések"));
    make(QStringLiteral("aBoritek"), QStringLiteral("Boríték"));
    make(QStringLiteral("aAjanlott"), QStringLiteral("Ajánlott"), QStringLiteral("Ctrl+Shift+I"),
         QStringLiteral("Ajánlott szelvény kitöltés"));
    make(QStringLiteral("aVKod"), QStringLiteral("Vonalkód"), QString(),
         QStringLiteral("Vonalkód nyomtatás"));
    make(QStringLiteral("aAdatcentrum"), QStringLiteral("Adatcentrum"));

    // "Rendszer"
    make(QStringLiteral("aFelhasznalo"), QStringLiteral("Felhasználók"));
    make(QStringLiteral("aSQL"), QStringLiteral("Szabad lekérdezés"));
    make(QStringLiteral("aAdatbazisok"), QStringLiteral("Adatbázisok"));
    make(QStringLiteral("aSvBeallit"), QStringLiteral("Sorvika beállítások"));
    make(QStringLiteral("aBeallit"), QStringLiteral("Beállítások"));

    // "Súgó"
    make(QStringLiteral("aSugo"), QStringLiteral("Súgó"), QStringLiteral("F1"));
    make(QStringLiteral("aHonlap"), QStringLiteral("Tarmelo honlapja"));
    make(QStringLiteral("aLevel"), QStringLiteral("Levélküldés Tarmelonak"));
    make(QStringLiteral("aNevjegy"), QStringLiteral("Névjegy"));

    // Print marking
    make(QStringLiteral("aNyomniJelol"), QStringLiteral("Jelöl"), QStringLiteral("F3"));
    make(QStringLiteral("aNyomniMegszuntet"), QStringLiteral("Jelölések megszűntetése"),
         QStringLiteral("F4"));
    make(QStringLiteral("aNyomniSzur"), QStringLiteral("Jelöltek szűrése"))->setCheckable(true);
    make(QStringLiteral("aSzurProjekt"), QStringLiteral("Projekt szűrésre jelölés"));
    make(QStringLiteral("aSzurMunkaszam"), QStringLiteral("Munkaszám szűrésre jelölés"));
    make(QStringLiteral("aSzurUgyfel1"), QStringLiteral("Ügyfél szűrése (kitől)"));
    make(QStringLiteral("aSzurUgyfel2"), QStringLiteral("Ügyfél szűrése (kinek)"));

    // Statuses: captions come from the register at start-up; until then hidden.
    for (int i = 0; i <= 9; ++i) {
        QAction *a = make(QStringLiteral("aStatusz") + QString::number(i), QString(),
                          QStringLiteral("Alt+") + QString::number(i));
        a->setVisible(false);
        a->setEnabled(false);
    }

    make(QStringLiteral("aIktNaplo"), QStringLiteral("Napló"), QString(), QStringLiteral("Iktatás napló"));
    make(QStringLiteral("aCsatol"), QStringLiteral("Csatolás"), QStringLiteral("F6"),
         QStringLiteral("File csatolása"));
    make(QStringLiteral("aMegnez"), QStringLiteral("Megnéz"), QStringLiteral("Ctrl+M"));
    make(QStringLiteral("aMasol"), QStringLiteral("Iktatószám másolása"), QStringLiteral("Ctrl+C"),
         QStringLiteral("Másol"));
    make(QStringLiteral("aVagolapra"), QStringLiteral("Vágólapra"), QStringLiteral("Shift+Ins"));

    // Shortcuts work wherever the focus is in the window.
    window->addActions(m_actions);
    buildMenus(window);
    buildToolBars(window);
}

QAction *ActionCatalogue::make(const QString &name, const QString &caption, const QString &shortcut,
                               const QString &hint)
{
    auto *a = new QAction(caption, m_window);
    a->setObjectName(name);
    const QString tip = hint.isEmpty() ? caption : hint;
    a->setStatusTip(tip);
    a->setToolTip(tip);
    if (!shortcut.isEmpty())
        a->setShortcut(QKeySequence(shortcut));
    a->setIcon(Icons::action(name));
    // Connected first, so it runs before any handler.
    connect(a, &QAction::triggered, this, [name] { setLastAction(QStringLiteral("frm_Main.") + name); });
    m_actions.append(a);
    m_byName.insert(name, a);
    return a;
}

QAction *ActionCatalogue::action(const QString &name) const
{
    QAction *a = m_byName.value(name);
    if (!a)
        throw std::logic_error("no action named " + name.toStdString());
    return a;
}

void ActionCatalogue::connectHandler(const QString &name, std::function<void()> handler)
{
    QAction *a = action(name);
    connect(a, &QAction::triggered, this, guarded(QString(), std::move(handler)));
}

QList<QAction *> ActionCatalogue::named(const QStringList &names) const
{
    QList<QAction *> list;
    for (const QString &n : names)
        list.append(n.isEmpty() ? nullptr : action(n));
    return list;
}

QMenu *ActionCatalogue::menuOf(QWidget *parent, const QString &name, const QString &title,
                               const QList<QAction *> &actions)
{
    auto *menu = new QMenu(title, parent);
    menu->setObjectName(name);
    menu->setToolTipsVisible(false);
    for (QAction *a : actions) {
        if (a)
            menu->addAction(a);
        else
            menu->addSeparator();
    }
    return menu;
}

void ActionCatalogue::buildMenus(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    const auto add = [&](const QString &name, const QString &title, const QStringList &actions) {
        bar->addMenu(menuOf(bar, name, title, named(actions)));
    };
    add(QStringLiteral("mnuKorvena"), QStringLiteral("Korvena"),
        {QStringLiteral("aFrissit"), QStringLiteral("aUj"), QStringLiteral("aSzerkeszt"),
         QStringLiteral("aTorol"), QStringLiteral("aNyomtat"), QStringLiteral("aExcel"),
         QStringLiteral("aHtml"), QStringLiteral("aBezar")});
    add(QStringLiteral("mnuSzures"), QStringLiteral("Szűrés"),
        {QStringLiteral("aSzur0"), QStringLiteral("aSzur1"), QStringLiteral("aSzur2"),
         QStringLiteral("aSzur3"), QStringLiteral("aSzur4")});
    add(QStringLiteral("mnuNezet"), QStringLiteral("Nézet"),
        {QStringLiteral("aBetuNovel"), QStringLiteral("aBetuCsokkent")});
    add(QStringLiteral("mnuTorzsadatok"), QStringLiteral("Törzsadatok"),
        {QStringLiteral("aCsoport"), QStringLiteral("aStatusz"), QStringLiteral("aProjekt"),
         QStringLiteral("aMunkaszam"), QStringLiteral("aTipus"), QStringLiteral("aFoszam"),
         QStringLiteral("aUgyfel")});
    add(QStringLiteral("mnuEszkozok"), QStringLiteral("Eszközök"),
        {QStringLiteral("aFigyelmeztet"), QStringLiteral("aKiad"), QStringLiteral("aVisszavesz")});
    add(QStringLiteral("mnuNyomtatasok"), QStringLiteral("Nyomtatások"),
        {QStringLiteral("aNyomReszletes"), QStringLiteral("aMappa"), QStringLiteral("aBeerkIdoszak"),
         QStringLiteral("aKimenoIdoszak"), QStringLiteral("aEgyebIdoszak"), QStringLiteral("aOsszesIdoszak"),
         QStringLiteral("aNyomAtvevo"), QStringLiteral("aAtvevo2"), QStringLiteral("aKiadott"),
         QStringLiteral("aFigyuLista"), QStringLiteral("aBoritek"), QStringLiteral("aAjanlott"),
         QStringLiteral("aVKod"), QStringLiteral("aAdatcentrum")});
    add(QStringLiteral("mnuRendszer"), QStringLiteral("Rendszer"),
        {QStringLiteral("aFelhasznalo"), QStringLiteral("aSQL"), QStringLiteral("aAdatbazisok"),
         QStringLiteral("aSvBeallit"), QStringLiteral("aBeallit")});
    add(QStringLiteral("mnuSugo"), QStringLiteral("Súgó"),
        {QStringLiteral("aSugo"), QStringLiteral("aHonlap"), QStringLiteral("aLevel"),
         QStringLiteral("aNevjegy")});

    m_listPopup = menuOf(window, QStringLiteral("pmLista"), QString(),
                         named({QStringLiteral("aUj"),
                                QStringLiteral("aSzerkeszt"),
                                QStringLiteral("aTorol"),
                                {},
                                QStringLiteral("aMasol"),
                                QStringLiteral("aVagolapra"),
                                {},
                                QStringLiteral("aNyomtat"),
                                QStringLiteral("aExcel"),
                                {},
                                QStringLiteral("aBezar")}));
    m_filePopup = menuOf(window, QStringLiteral("pmFile"), QString(), named({QStringLiteral("aMegnez")}));
}

QToolButton *ActionCatalogue::dropDownButton(const QString &name, const QString &caption, const QString &hint,
                                             QMenu *menu)
{
    auto *button = new QToolButton(m_largeToolBar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setAccessibleName(caption);
    button->setIcon(Icons::action(name.mid(2)));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setMenu(menu);
    m_largeToolBar->addWidget(button);
    return button;
}

void ActionCatalogue::buildToolBars(QMainWindow *window)
{
    m_smallToolBar = new QToolBar(QStringLiteral("Eszköztár"), window);
    m_smallToolBar->setObjectName(QStringLiteral("tbKicsi"));
    m_smallToolBar->setMovable(false);
    m_smallToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_smallToolBar->setIconSize(QSize(16, 16));
    for (QAction *a : named({QStringLiteral("aFrissit"),
                             {},
                             QStringLiteral("aBetuNovel"),
                             QStringLiteral("aBetuCsokkent"),
                             {},
                             QStringLiteral("aBeallit"),
                             {},
                             QStringLiteral("aFelhasznalo"),
                             QStringLiteral("aSQL"),
                             {},
                             QStringLiteral("aSugo"),
                             {},
                             QStringLiteral("aHonlap"),
                             QStringLiteral("aLevel"),
                             {},
                             QStringLiteral("aBezar")})) {
        if (a)
            m_smallToolBar->addAction(a);
        else
            m_smallToolBar->addSeparator();
    }

    m_largeToolBar = new QToolBar(QStringLiteral("Műveletek"), window);
    m_largeToolBar->setObjectName(QStringLiteral("tbNagy"));
    m_largeToolBar->setMovable(false);
    m_largeToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_largeToolBar->setIconSize(QSize(24, 24));

    m_filterDropDown = menuOf(window, QStringLiteral("pmSzures"), QString(),
                              named({QStringLiteral("aSzur5"),
                                     QStringLiteral("aSzur1"),
                                     QStringLiteral("aSzur6"),
                                     {},
                                     QStringLiteral("aSzur2"),
                                     QStringLiteral("aSzur3"),
                                     QStringLiteral("aSzur4"),
                                     QStringLiteral("aSzur7"),
                                     QStringLiteral("aSzur8"),
                                     QStringLiteral("aSzur9"),
                                     QStringLiteral("aSzur10"),
                                     QStringLiteral("aSzur11"),
                                     QStringLiteral("aSzur12"),
                                     {},
                                     QStringLiteral("aSzur0")}));
    m_markDropDown = menuOf(window, QStringLiteral("pmJelol"), QString(),
                            named({QStringLiteral("aNyomniJelol"),
                                   QStringLiteral("aNyomniMegszuntet"),
                                   {},
                                   QStringLiteral("aSzurProjekt"),
                                   QStringLiteral("aSzurMunkaszam"),
                                   QStringLiteral("aSzurUgyfel1"),
                                   QStringLiteral("aSzurUgyfel2"),
                                   {},
                                   QStringLiteral("aNyomniSzur")}));
    m_printDropDown = menuOf(window, QStringLiteral("pmNyomtat"), QString(),
                             named({QStringLiteral("aNyomtat"),
                                    {},
                                    QStringLiteral("aExcel"),
                                    QStringLiteral("aHtml"),
                                    {},
                                    QStringLiteral("aBoritek"),
                                    QStringLiteral("aAjanlott"),
                                    {},
                                    QStringLiteral("aVKod")}));
    QStringList statuses;
    for (int i = 0; i <= 9; ++i)
        statuses << QStringLiteral("aStatusz") + QString::number(i);
    m_statusDropDown = menuOf(window, QStringLiteral("pmStatusz"), QString(), named(statuses));

    const auto add = [this](const QStringList &names) {
        for (QAction *a : named(names)) {
            if (a)
                m_largeToolBar->addAction(a);
            else
                m_largeToolBar->addSeparator();
        }
    };
    dropDownButton(QStringLiteral("tbSzures"), QStringLiteral("Szűrés"), QStringLiteral("Szűrés"),
                   m_filterDropDown);
    add({{},
         QStringLiteral("aUj"),
         QStringLiteral("aSzerkeszt"),
         QStringLiteral("aTorol"),
         {},
         QStringLiteral("aKiad"),
         QStringLiteral("aVisszavesz"),
         {},
         QStringLiteral("aFigyelmeztet"),
         {}});
    dropDownButton(QStringLiteral("tbJelol"), QStringLiteral("Jelöl"), QStringLiteral("Nyomtatásra jelöl"),
                   m_markDropDown);
    dropDownButton(QStringLiteral("tbNyomtat"), QStringLiteral("Nyomtat"), QStringLiteral("Nyomtat"),
                   m_printDropDown);
    add({{}});
    dropDownButton(QStringLiteral("tbStatusz"), QStringLiteral("Státusz"), QStringLiteral("Státusz"),
                   m_statusDropDown);
    add({{}, QStringLiteral("aIktNaplo"), {}, QStringLiteral("aCsatol")});
}

void ActionCatalogue::applySettings(const ProgramSettings &settings)
{
    const std::pair<const char *, const QString *> captions[] = {
        {"aProjekt", &settings.mezo2}, {"aMunkaszam", &settings.mezo1}, {"aTipus", &settings.mezo3}};
    for (const auto &[name, caption] : captions) {
        QAction *a = action(QLatin1String(name));
        a->setText(LiteralAmpersands(*caption));
        a->setStatusTip(*caption);
        a->setToolTip(*caption);
    }
}

void ActionCatalogue::loadStatuses(const Dataset &statuses)
{
    const int codeCol = statuses.requireField(u"statusz");
    const int nameCol = statuses.requireField(u"statusz_nev");
    for (int row = 0; row < statuses.rowCount(); ++row) {
        QAction *a = find(QStringLiteral("aStatusz") + statuses.text(row, codeCol));
        if (!a)
            continue;
        const QString caption = statuses.text(row, nameCol) + QStringLiteral(" (") +
                                QString::number(statuses.toInt(row, codeCol)) + QLatin1Char(')');
        a->setText(LiteralAmpersands(caption));
        a->setStatusTip(caption);
        a->setToolTip(caption);
        a->setVisible(true);
        a->setEnabled(true);
    }
}

void ActionCatalogue::disableForWriteProtection()
{
    QStringList names{QStringLiteral("aUj"), QStringLiteral("aTorol"), QStringLiteral("aFigyelmeztet")};
    for (int i = 0; i <= 9; ++i)
        names << QStringLiteral("aStatusz") + QString::number(i);
    for (QAction *a : named(names))
        a->setEnabled(false);
}
