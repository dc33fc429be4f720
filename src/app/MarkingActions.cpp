#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "common/Clock.h"
#include "common/ui/MessageBox.h"
#include "core/Session.h"
#include "masterdata/ui/Pickers.h"
#include "register/Lending.h"
#include "register/Marking.h"
#include "register/Reminders.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"
#include "register/ui/LendDialog.h"
#include "register/ui/ListMarking.h"
#include "register/ui/ReminderDialog.h"
#include "register/ui/ReminderList.h"

#include <QAction>

namespace {

// The current row of the list and its document, or nothing on an empty list.
struct CurrentRow
{
    int row = -1;
    qint64 document = 0;
    bool valid() const { return row >= 0 && document > 0; }
};

CurrentRow currentRow(MainWindow &window)
{
    const Dataset &data = window.listModel()->dataset();
    return {data.current(), window.currentDocument()};
}

QByteArrayView cell(MainWindow &window, int row, QStringView field)
{
    const Dataset &data = window.listModel()->dataset();
    const int col = data.fieldIndex(field);
    return col < 0 ? QByteArrayView() : data.raw(row, col);
}

void clearMarks(MainWindow &window)
{
    const qint64 document = window.currentDocument();
    Marking::clearAll();
    window.actionCatalogue().action(QStringLiteral("aNyomniSzur"))->setChecked(false);
    window.listModel()->setRowFilter({});
    window.documentList().refresh(document);
}

void bulkMark(MainWindow &window, Marking::BulkKey key)
{
    PickResult picked;
    switch (key) {
    case Marking::BulkKey::Project:
        picked = MasterDataPicker(&window, -1, true, QStringLiteral("projekt"), QStringLiteral("Projekt"), false,
                                  false);
        break;
    case Marking::BulkKey::WorkNumber:
        picked = MasterDataPicker(&window, -1, true, QStringLiteral("munkaszam"), QStringLiteral("Munkaszám"),
                                  false, false);
        break;
    case Marking::BulkKey::Sender:
    case Marking::BulkKey::Addressee:
        picked = ClientPicker(&window, -1, ClientKind::All, true);
        break;
    }
    if (!picked.picked())
        return;
    const qint64 document = window.currentDocument();
    Marking::bulkMark(key, picked.key);
    window.documentList().refresh(document);
}

void setStatus(MainWindow &window, int status)
{
    const qint64 document = window.currentDocument();
    if (document <= 0)
        return;
    Marking::setStatus(document, session().user.code, status);
    window.documentList().refreshChanged(document);
}

void lend(MainWindow &window)
{
    const CurrentRow current = currentRow(window);
    if (!current.valid())
        return;
    if (Lending::refusesLending(cell(window, current.row, u"kolcsonadva"))) {
        ShowError(Lending::alreadyOutMessage());
        return;
    }
    if (const auto answer = LendDialog::ask(&window, Today())) {
        if (!Lending::lend(current.document, answer->date, answer->name))
            ShowError(Lending::lentMeanwhileMessage());
        window.documentList().refreshChanged(current.document);
    }
}

void takeBack(MainWindow &window)
{
    const CurrentRow current = currentRow(window);
    if (!current.valid())
        return;
    if (Lending::refusesTakingBack(cell(window, current.row, u"kolcsonadva"))) {
        ShowError(Lending::notOutMessage());
        return;
    }
    if (!AskYesNo(Lending::takeBackQuestion(), QStringLiteral("Megerősítés")))
        return;
    if (!Lending::takeBack(current.document))
        ShowError(Lending::returnedMeanwhileMessage());
    window.documentList().refreshChanged(current.document);
}

void editReminder(MainWindow &window)
{
    const CurrentRow current = currentRow(window);
    if (!current.valid())
        return;
    const Dataset &data = window.listModel()->dataset();
    const int textCol = data.fieldIndex(u"figy_szoveg");
    const int dateCol = data.fieldIndex(u"dat_figy");
    const QString text = textCol < 0 ? QString() : data.text(current.row, textCol);
    QDate date = dateCol < 0 ? QDate() : data.toDate(current.row, dateCol);
    if (!date.isValid())
        date = Today();
    if (SetReminder(&window, current.document, text, date))
        window.documentList().refreshChanged(current.document);
}

} // namespace

void connectMarkingActions(MainWindow &window)
{
    ActionCatalogue &a = window.actionCatalogue();
    MainWindow *w = &window;
    // Each ends in the search box, also when it stopped early or failed.
    const auto connect = [&a, w](const QString &name, std::function<void(MainWindow &)> work) {
        a.connectHandler(name, [w, work = std::move(work)] {
            struct Refocus
            {
                MainWindow *window;
                ~Refocus() { window->focusSearchBox(); }
            } refocus{w};
            work(*w);
        });
    };

    // The mark key leaves the focus where it is: it walks the list.
    a.connectHandler(QStringLiteral("aNyomniJelol"), [w] { ToggleMarkInList(*w->listModel(), *w->listView()); });
    connect(QStringLiteral("aNyomniMegszuntet"), clearMarks);
    connect(QStringLiteral("aNyomniSzur"), [](MainWindow &window) {
        ShowMarkedOnly(*window.listModel(), *window.listView(),
                       window.actionCatalogue().action(QStringLiteral("aNyomniSzur"))->isChecked());
    });
    connect(QStringLiteral("aSzurProjekt"), [](MainWindow &window) { bulkMark(window, Marking::BulkKey::Project); });
    connect(QStringLiteral("aSzurMunkaszam"),
            [](MainWindow &window) { bulkMark(window, Marking::BulkKey::WorkNumber); });
    connect(QStringLiteral("aSzurUgyfel1"), [](MainWindow &window) { bulkMark(window, Marking::BulkKey::Sender); });
    connect(QStringLiteral("aSzurUgyfel2"),
            [](MainWindow &window) { bulkMark(window, Marking::BulkKey::Addressee); });
    for (int status = 0; status <= 9; ++status)
        connect(QStringLiteral("aStatusz") + QString::number(status),
                [status](MainWindow &window) { setStatus(window, status); });
    connect(QStringLiteral("aKiad"), lend);
    connect(QStringLiteral("aVisszavesz"), takeBack);
    connect(QStringLiteral("aFigyelmeztet"), editReminder);
    a.connectHandler(QStringLiteral("aFigyuLista"), [w] { ShowReminders(w, false); });

    // Tests may have put routines of their own in place.
    MainWindowRoutines &routines = mainWindowRoutines();
    if (!routines.showReminders)
        routines.showReminders = [](QWidget *parent, bool onlyIfAny) { ShowReminders(parent, onlyIfAny); };
    if (!routines.showExpiringDeadlines)
        routines.showExpiringDeadlines = [](QWidget *parent) { ShowExpiringDeadlines(parent); };
}
