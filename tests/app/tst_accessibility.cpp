// Keyboard users and screen readers: on every screen each input and button has a
// name (its text, an accessible name or a buddy label, as the accessibility
// interface reports it), and the tab order reaches every enabled input.
#include "DocumentFixture.h"
#include "MainWindowFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "common/ui/MessageBox.h"
#include "common/ui/NumberInputDialog.h"
#include "common/ui/PeriodDialog.h"
#include "common/ui/TextInputDialog.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "core/ui/ConnectionSetupDialog.h"
#include "core/ui/DatabaseChooser.h"
#include "core/ui/LoginDialog.h"
#include "core/ui/LogoSplash.h"
#include "core/ui/SettingsDialog.h"
#include "db/DbHelpers.h"
#include "masterdata/MasterData.h"
#include "masterdata/ui/ClientEditor.h"
#include "masterdata/ui/ClientList.h"
#include "masterdata/ui/MainNumberList.h"
#include "masterdata/ui/MasterDataList.h"
#include "masterdata/ui/MasterRowEditor.h"
#include "masterdata/ui/SqlPickerDialog.h"
#include "masterdata/ui/StatusList.h"
#include "masterdata/ui/UserGroups.h"
#include "masterdata/ui/UserList.h"
#include "core/ProfileList.h"
#include "core/VendorNotices.h"
#include "core/ui/DatabaseList.h"
#include "core/ui/VendorNoticeWindows.h"
#include "output/HtmlExport.h"
#include "output/ui/BarcodeDialog.h"
#include "output/ui/EnvelopeChoice.h"
#include "output/ui/ExportDialog.h"
#include "output/ui/HtmlExportDialog.h"
#include "output/ui/OutputChoice.h"
#include "output/ui/SqlConsole.h"
#include "output/ui/StoredExportScreens.h"
#include "register/DocumentEdit.h"
#include "register/ui/DocumentEditor.h"
#include "register/ui/JournalViewer.h"
#include "register/ui/LendDialog.h"
#include "register/ui/OnlineStoreScreens.h"
#include "register/ui/ReminderDialog.h"
#include "register/ui/ReminderList.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

using Screen = std::shared_ptr<QWidget>;
using ScreenFactory = std::function<Screen()>;

// A screen that needs something kept alive beside it (a row set, a connection).
template <typename T, typename... Keep> Screen keep(T *screen, Keep... kept)
{
    return Screen(screen, [kept...](QWidget *w) { delete w; });
}

bool isInput(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QComboBox *>(w) || qobject_cast<const QTextEdit *>(w) ||
           qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QCheckBox *>(w) ||
           qobject_cast<const QAbstractItemView *>(w);
}

bool isButton(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) && !qobject_cast<const QCheckBox *>(w);
}

// Parts that Qt builds inside a control (a spin box's line edit, a view's
// scroll bars, a tab bar's scroll arrows) are named through the control; what
// a scroll area merely holds is the screen's own.
bool isInnerPart(const QWidget *w, const QWidget *window)
{
    if (w->objectName().startsWith(QLatin1String("qt_")))
        return true;
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p) ||
            qobject_cast<const QAbstractItemView *>(p) || qobject_cast<const QTextEdit *>(p) ||
            qobject_cast<const QPlainTextEdit *>(p) || p->inherits("QTabBar") || p->inherits("QCalendarWidget"))
            return true;
    }
    return false;
}

// A read-only box that only shows a value (the registration number) may stay out of the tab order.
bool isDisplayOnly(const QWidget *w)
{
    const auto *edit = qobject_cast<const QLineEdit *>(w);
    return edit && edit->isReadOnly() && !(edit->focusPolicy() & Qt::TabFocus);
}

QString describe(const QWidget *w)
{
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(w->metaObject()->className()), w->objectName());
}

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

// What Tab visits from the window on: the widgets QWidget's own focus chain offers.
QList<QWidget *> tabChain(QWidget *window)
{
    QList<QWidget *> chain;
    for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window) && w->window() == window)
            chain << w;
    }
    return chain;
}

} // namespace

Q_DECLARE_METATYPE(ScreenFactory)

class TestAccessibility : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        MessageBox::setRecording(true);
        DesktopServices::setRecording(true);
    }
    void init()
    {
        resetProcessState();
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt nyilvántartás"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', irasvedett = 'N', hatidfigyel = -1"));
        session().user.code = 1;
        session().settings.megjelenoAdatok = QString(17, QLatin1Char('I'));
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

    void everyControlIsNamedAndReachable_data();
    void everyControlIsNamedAndReachable();
};

void TestAccessibility::everyControlIsNamedAndReachable_data()
{
    QTest::addColumn<ScreenFactory>("open");
    auto row = [](QLatin1StringView name, const ScreenFactory &open) { QTest::newRow(name.data()) << open; };

    row(MainWindow::ObjectName, [this] {
        Connection *own = &m_db->connection();
        Window window = openMainWindow(own);
        return Screen(window.release(), [own](QWidget *w) {
            delete w;
            Connection::setCurrent(own);
        });
    });
    row(LogoSplash::ObjectName, [] { return Screen(new LogoSplash(QDate(2024, 3, 9))); });
    row(ConnectionSetupDialog::ObjectName, [] { return Screen(new ConnectionSetupDialog); });
    row(DatabaseChooser::ObjectName, [] {
        return Screen(new DatabaseChooser(QList<ProfileChoice>{{1, QStringLiteral("a;b;3306;c;d;Első")},
                                                               {2, QStringLiteral("e;f;3306;g;h;Második")}}));
    });
    row(LoginDialog::ObjectName, [] { return Screen(new LoginDialog); });
    row(SettingsDialog::ObjectName, [] { return Screen(new SettingsDialog); });
    row(NumberInputDialog::ObjectName, [] {
        return Screen(new NumberInputDialog(nullptr, QStringLiteral("Szám"), QStringLiteral("Darab:"), 3));
    });
    row(TextInputDialog::ObjectName, [] {
        return Screen(new TextInputDialog(nullptr, QStringLiteral("Jelszó"), QStringLiteral("Új jelszó:"), true, 0,
                                          -1, QString()));
    });
    row(PeriodDialog::ObjectName, [] {
        return Screen(new PeriodDialog(nullptr, QDate(2024, 1, 1), QDate(2024, 12, 31), QStringLiteral("Időszak")));
    });
    row(MasterDataList::ObjectName, [] {
        auto *list = new MasterDataList(nullptr, QStringLiteral("tipus"), QStringLiteral("Típusok"), false, true,
                                        false);
        list->openAt(1);
        return Screen(list);
    });
    row(MasterRowEditor::ObjectName,
        [] { return Screen(new MasterRowEditor(nullptr, QStringLiteral("tipus"), QStringLiteral("Típus"))); });
    row(ClientList::ObjectName, [] {
        return Screen(new ClientList(nullptr, ClientKind::All, false, QStringLiteral("Ügyfelek")));
    });
    row(EditClientDialog::ObjectName, [] { return Screen(new EditClientDialog(nullptr)); });
    row(MainNumberList::ObjectName, [] { return Screen(new MainNumberList(nullptr, false)); });
    row(MainNumberEditor::ObjectName, [] { return Screen(new MainNumberEditor(nullptr)); });
    row(StatusList::ObjectName, [] { return Screen(new StatusList(nullptr)); });
    row(StatusEditor::ObjectName, [] { return Screen(new StatusEditor(nullptr)); });
    row(UserList::ObjectName, [] { return Screen(new UserList(nullptr, false)); });
    row(UserEditor::ObjectName, [] { return Screen(new UserEditor(nullptr)); });
    row(UserGroups::ObjectName, [] {
        return Screen(new UserGroups(nullptr, 1, QStringLiteral("Rendszergazda"), QStringLiteral("rendszergazda")));
    });
    row(SqlPickerDialog::ObjectName, [] { return Screen(new SqlPickerDialog(nullptr, groupPickerRequest(1))); });
    row(DocumentEditor::ObjectName, [] { return Screen(new DocumentEditor(nullptr, DocumentEdit::open(101))); });
    row(OnlineStoreSettingsDialog::ObjectName, [] { return Screen(new OnlineStoreSettingsDialog(nullptr)); });
    row(JournalViewer::ObjectName, [] { return Screen(new JournalViewer(nullptr)); });
    row(LendDialog::ObjectName, [] { return Screen(new LendDialog(nullptr, QDate(2024, 3, 9))); });
    row(ReminderDialog::ObjectName, [] {
        return Screen(new ReminderDialog(nullptr, 101, QStringLiteral("Visszahívni"), QDate(2024, 4, 1)));
    });
    row(ReminderList::ObjectName, [] { return Screen(new ReminderList(nullptr, QDate(2024, 4, 1))); });
    row(DeadlineList::ObjectName, [] { return Screen(new DeadlineList(nullptr, 30)); });
    row(ExportDialog::ObjectName, [] {
        auto rows = std::make_shared<Dataset>(
            Connection::current()->query(QStringLiteral("SELECT iktato, targy FROM iktato ORDER BY iktato")));
        return keep(new ExportDialog(nullptr, *rows, QStringLiteral("Iktato.csv")), rows);
    });
    row(HtmlExportDialog::ObjectName, [] {
        auto rows = std::make_shared<Dataset>(
            Connection::current()->query(QStringLiteral("SELECT iktato, targy FROM iktato ORDER BY iktato")));
        HtmlPage page;
        page.columns = {{0, QStringLiteral("Azonosító"), 80, Qt::AlignRight}, {1, QStringLiteral("Tárgy"), 200}};
        page.gridWidth = 280;
        page.title = QStringLiteral("Iktatókönyv");
        return keep(new HtmlExportDialog(nullptr, *rows, page), rows);
    });
    row(StoredExportList::ObjectName, [] {
        auto *list = new StoredExportList(nullptr);
        list->requery();
        return Screen(list);
    });
    row(StoredExportEditor::ObjectName, [] { return Screen(new StoredExportEditor(nullptr)); });
    row(SqlConsole::ObjectName, [] { return Screen(new SqlConsole(nullptr)); });
    row(DatabaseListDialog::ObjectName, [] { return Screen(new DatabaseListDialog(nullptr)); });
    row(ProfileEditDialog::ObjectName, [] {
        return Screen(new ProfileEditDialog(nullptr, ProfileRow::fromLine(QStringLiteral("kt;127.0.0.1;3306;u;p;Első"))));
    });
    row(VersionNoticeWindow::ObjectName, [] {
        return Screen(new VersionNoticeWindow(nullptr, {QStringLiteral("24.0.0.400"), QStringLiteral("Új változat")}));
    });
    row(NewsWindow::ObjectName, [] {
        VendorNotices::NewsItem item;
        item.id = 12;
        item.idText = QStringLiteral("12");
        item.title = QStringLiteral("Cím");
        item.text = QStringLiteral("Szöveg");
        return Screen(new NewsWindow(nullptr, item));
    });
    row(OutputChoice::ObjectName, [] { return Screen(new OutputChoice(nullptr, QString())); });
    row(EnvelopeChoice::ObjectName, [] { return Screen(new EnvelopeChoice(nullptr)); });
    row(BarcodeDialog::ObjectName, [] { return Screen(new BarcodeDialog(nullptr)); });
}

void TestAccessibility::everyControlIsNamedAndReachable()
{
    QFETCH(ScreenFactory, open);
    const Screen screen = open();
    QVERIFY(screen);
    screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
    QWidget *window = screen.get();

    // Pages of tab widgets show one at a time: walk each of them.
    QSet<QString> unnamedSet;
    QSet<QString> unreachableSet;
    auto walk = [&] {
        const QList<QWidget *> chain = tabChain(window);
        for (QWidget *w : window->findChildren<QWidget *>()) {
            if (!w->isVisibleTo(window) || w->window() != window || isInnerPart(w, window))
                continue;
            if (!isInput(w) && !isButton(w))
                continue;
            if (accessibleName(w).isEmpty())
                unnamedSet << describe(w);
            if (isInput(w) && w->isEnabled() && !isDisplayOnly(w)) {
                QWidget *target = w->focusProxy() ? w->focusProxy() : w;
                if (!chain.contains(target))
                    unreachableSet << describe(w);
            }
        }
    };
    walk();
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        const int current = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->isTabEnabled(i) && tabs->isTabVisible(i)) {
                tabs->setCurrentIndex(i);
                walk();
            }
        }
        tabs->setCurrentIndex(current);
    }
    QStringList unnamed = unnamedSet.values();
    QStringList unreachable = unreachableSet.values();
    unnamed.sort();
    unreachable.sort();
    if (!unnamed.isEmpty())
        qWarning("no name: %s", qPrintable(unnamed.join(QStringLiteral(", "))));
    if (!unreachable.isEmpty())
        qWarning("not reached by Tab: %s", qPrintable(unreachable.join(QStringLiteral(", "))));
    QVERIFY(unnamed.isEmpty());
    QVERIFY(unreachable.isEmpty());
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
