#include "app/MainWindow.h"

#include "app/ActionWiring.h"

#include "core/ui/SettingsDialog.h"

#include "common/Clock.h"
#include "db/DbHelpers.h"
#include "common/LastAction.h"
#include "common/Text.h"
#include "common/ui/DesktopServices.h"
#include "common/ui/Dialog.h"
#include "core/ui/ListScreen.h"
#include "core/Session.h"
#include "core/ConnectionProfile.h"
#include "core/ErrorReport.h"
#include "app/ActionCatalogue.h"
#include "register/AttachmentTextQueue.h"
#include "core/ui/ErrorHandler.h"
#include "core/ui/LogoSplash.h"
#include "core/ui/MessagePanel.h"
#include "core/ui/Pictures.h"
#include "common/Version.h"
#include "masterdata/ui/Pickers.h"
#include "register/TextSearch.h"
#include "register/ui/DetailPanel.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWheelEvent>

MainWindowRoutines &mainWindowRoutines()
{
    static MainWindowRoutines routines;
    return routines;
}

MainWindow::MainWindow(std::unique_ptr<Connection> connection, QWidget *parent)
    : QMainWindow(parent), m_connection(std::move(connection))
{
    setObjectName(ObjectName);
    registerMasterDataPickers();
    buildWindow();
    connectActions();
    connectList();
    Connection::setCurrent(m_connection.get());

    // From here on the middle panel shows the hint under the mouse, and the
    // wheel walks lists row by row.
    m_hintsOn = true;
    qApp->installEventFilter(this);
    setWindowTitle(QStringLiteral("Korvena: [") + session().ownerName + QLatin1Char(']'));
    applySettings();
    // Opening the list: a failure here leaves the window usable with what it has.
    runGuarded(QStringLiteral("frm_Main.FormCreate"), [this] { openList(); });
}

MainWindow::~MainWindow()
{
    if (m_hintsOn)
        qApp->removeEventFilter(this);
    if (Connection::current() == m_connection.get())
        Connection::setCurrent(nullptr);
}

namespace {
// Where the search box's choice to look in the attached files' text is remembered:
// beside the window's other choices.
const QString TextSearchSection = QStringLiteral("Alapertek");
const QString TextSearchKey = QStringLiteral("SzovegKeres");
} // namespace

// ---- building

void MainWindow::buildWindow()
{
    m_actions = new ActionCatalogue(this);
    addToolBar(Qt::TopToolBarArea, m_actions->smallToolBar());
    addToolBarBreak();

    auto *searchBar = new QToolBar(QStringLiteral("Keresés"), this);
    searchBar->setObjectName(QStringLiteral("tbKereses"));
    searchBar->setMovable(false);
    auto *searchLabel = new QLabel(QStringLiteral("Keresés:"), searchBar);
    m_searchBox = new QLineEdit(searchBar);
    m_searchBox->setObjectName(QStringLiteral("edKeres"));
    m_searchBox->setFixedWidth(260);
    m_searchBox->setAccessibleName(QStringLiteral("Keresés"));
    m_searchBox->installEventFilter(this);
    searchLabel->setBuddy(m_searchBox);
    m_textSearch = new QCheckBox(QStringLiteral("Csatolt állományok szövegében is"), searchBar);
    m_textSearch->setObjectName(QStringLiteral("chkSzovegben"));
    m_textSearch->setAccessibleName(QStringLiteral("Csatolt állományok szövegében is"));
    m_textSearch->setChecked(localConfigFile().readBool(TextSearchSection, TextSearchKey, false));
    m_databaseName = new QLabel(searchBar);
    m_databaseName->setObjectName(QStringLiteral("lblAdatbazis"));
    m_databaseName->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = m_databaseName->font();
    bold.setBold(true);
    m_databaseName->setFont(bold);
    searchBar->addWidget(searchLabel);
    searchBar->addWidget(m_searchBox);
    searchBar->addWidget(m_textSearch);
    auto *spacer = new QWidget(searchBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    searchBar->addWidget(spacer);
    searchBar->addWidget(m_databaseName);
    addToolBar(Qt::TopToolBarArea, searchBar);
    addToolBarBreak();
    addToolBar(Qt::TopToolBarArea, m_actions->largeToolBar());

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlKozep"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_directionTabs = new QTabBar(central);
    m_directionTabs->setObjectName(QStringLiteral("tcIrany"));
    m_directionTabs->setAccessibleName(QStringLiteral("Irány"));
    m_directionTabs->setExpanding(false);
    for (const QString &caption : {QStringLiteral("Bejövő"), QStringLiteral("Kimenő"),
                                   QStringLiteral("Egyéb"), QStringLiteral("Összes")})
        m_directionTabs->addTab(caption);

    m_model = new DocumentListModel(this);
    m_list = new DocumentListView(central);
    m_list->setDocumentModel(m_model);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);

    m_yearTabs = new QTabBar(central);
    m_yearTabs->setObjectName(QStringLiteral("tcEv"));
    m_yearTabs->setAccessibleName(QStringLiteral("Év"));
    m_yearTabs->setShape(QTabBar::RoundedSouth);
    m_yearTabs->setExpanding(false);

    m_detail = new DetailPanel(central);
    m_detail->fileGrid()->setContextMenuPolicy(Qt::CustomContextMenu);

    layout->addWidget(m_directionTabs);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_yearTabs);
    layout->addWidget(m_detail);
    setCentralWidget(central);

    m_rowPanel = new QLabel(this);
    m_rowPanel->setObjectName(QStringLiteral("sbSorok"));
    m_rowPanel->setFixedWidth(77);
    m_rowPanel->setAlignment(Qt::AlignCenter);
    m_hintPanel = new QLabel(this);
    m_hintPanel->setObjectName(QStringLiteral("sbTipp"));
    m_hintPanel->setFixedWidth(200);
    m_sortPanel = new QLabel(this);
    m_sortPanel->setObjectName(QStringLiteral("sbSorrend"));
    m_sortPanel->setMinimumWidth(50);
    // The profile's name and the column titles are users' text: shown, never read as markup.
    for (QLabel *panel : {m_databaseName, m_rowPanel, m_hintPanel, m_sortPanel})
        panel->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_rowPanel);
    statusBar()->addWidget(m_hintPanel);
    statusBar()->addWidget(m_sortPanel, 1);
    // A panel of its own: a status message would hide the others while files are read.
    m_textPanel = new QLabel(this);
    m_textPanel->setObjectName(QStringLiteral("sbSzoveg"));
    m_textPanel->setTextFormat(Qt::PlainText);
    m_textPanel->hide();
    statusBar()->addPermanentWidget(m_textPanel);
    connect(&AttachmentTextQueue::instance(), &AttachmentTextQueue::outstandingChanged, m_textPanel,
            [panel = m_textPanel](int outstanding) {
                panel->setText(outstanding > 1 ? QStringLiteral("Csatolt állományok szövegének olvasása… (%1)")
                                                     .arg(outstanding)
                                               : QStringLiteral("Csatolt állomány szövegének olvasása…"));
                panel->setVisible(outstanding > 0);
            });

    m_messages = new MessagePanel(this);

    m_controller = new FilterController(m_model, m_list, m_searchBox, this);
    m_controller->setAttachmentTextSearch(m_textSearch->isChecked());
    m_detail->setPassageArea(m_textSearch->isChecked());
    setTabOrder(m_searchBox, m_textSearch);
    new SearchKeys(m_list, m_searchBox);

    m_fileGridTimer = new QTimer(this);
    m_fileGridTimer->setObjectName(QStringLiteral("tmrFile"));
    m_fileGridTimer->setSingleShot(true);
    m_fileGridTimer->setInterval(0);
    connect(m_fileGridTimer, &QTimer::timeout, this, [this] {
        runGuarded(QString(), [this] {
            const qint64 key = currentDocument();
            if (key == m_shownFiles)
                return;
            m_shownFiles = key;
            m_detail->showFiles(key);
            const TextPassage passage = readTextPassage(db(), key, m_controller->textSearchWords());
            m_detail->showPassage(passage.fileName, passage.text);
        });
    });
}

void MainWindow::connectActions()
{
    ActionCatalogue &a = *m_actions;
    a.connectHandler(QStringLiteral("aFrissit"), [this] { refreshList(); });
    a.connectHandler(QStringLiteral("aBezar"), [this] { close(); });
    a.connectHandler(QStringLiteral("aBetuNovel"), [this] { changeFontSize(+1); });
    a.connectHandler(QStringLiteral("aBetuCsokkent"), [this] { changeFontSize(-1); });
    a.connectHandler(QStringLiteral("aMasol"), [this] { copyRegistrationId(); });
    a.connectHandler(QStringLiteral("aSugo"),
                     [this] { openWebPage(vendorBaseUrl() + QStringLiteral("/prgdocs/index.php?prg=7")); });
    a.connectHandler(QStringLiteral("aHonlap"), [this] { openWebPage(vendorBaseUrl()); });
    a.connectHandler(QStringLiteral("aLevel"), [] {
        QString host = QUrl(vendorBaseUrl()).host();
        if (host.startsWith(QLatin1String("www.")))
            host = host.mid(4);
        QUrl mail(QStringLiteral("mailto:info@") + host);
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Korvena program"));
        mail.setQuery(query);
        DesktopServices::openUrl(mail);
    });
    a.connectHandler(QStringLiteral("aNevjegy"), [this] { showAbout(); });
    a.connectHandler(QStringLiteral("aBeallit"), [this] {
        if (!SettingsDialog::run(this))
            return;
        // New columns reset the grid; the document in hand stays in hand.
        const qint64 key = currentDocument();
        applySettings();
        m_controller->refresh(key);
    });
    for (const QString &name : masterDataActionNames())
        a.connectHandler(name, [this, name] {
            if (openMasterDataFromMainWindow(this, name))
                refreshList();
        });
    for (int i = 0; i < FilterEntryCount; ++i)
        a.connectHandler(filterEntryActionName(FilterEntry(i)),
                         [this, i] { m_controller->chooseEntry(FilterEntry(i)); });
    connectDocumentActions(*this);
    connectAttachmentActions(*this);
    connectMarkingActions(*this);
    connectOutputActions(*this);
    connectAdminActions(*this);
    connectReportActions(*this);
}

void MainWindow::connectList()
{
    connect(m_controller, &FilterController::entryMarked, this,
            [this](FilterEntry e) { m_actions->action(filterEntryActionName(e))->setChecked(true); });
    connect(m_controller, &FilterController::expiredEntryAvailable, this, [this](bool on) {
        QAction *expired = m_actions->action(QStringLiteral("aSzur8"));
        expired->setVisible(on);
        expired->setEnabled(on);
    });
    connect(m_controller, &FilterController::sortOrderShown, m_sortPanel, &QLabel::setText);
    connect(m_controller, &FilterController::searchNoteChanged, m_hintPanel, &QLabel::setText);
    connect(m_controller, &FilterController::reopened, this, [this] {
        // A re-opened list may show a document whose files changed meanwhile.
        m_shownFiles = -1;
        currentDocumentChanged();
    });
    connect(m_list, &DocumentListView::currentDocumentChanged, this, [this] { currentDocumentChanged(); });

    connect(m_searchBox, &QLineEdit::textChanged, m_controller, &FilterController::scheduleSearch);
    connect(m_textSearch, &QCheckBox::toggled, this, [this](bool on) {
        // Written at once: the choice outlives a window that never closes properly.
        IniFile ini = localConfigFile();
        ini.writeBool(TextSearchSection, TextSearchKey, on);
        m_detail->setPassageArea(on);
        runGuarded(QStringLiteral("frm_Main.chkSzovegben"), [this, on] { m_controller->setAttachmentTextSearch(on); });
    });
    connect(m_searchBox, &QLineEdit::returnPressed, this, [this] {
        runGuarded(QStringLiteral("frm_Main.edKeres"), [this] { m_controller->enterPressed(m_searchBox->text()); });
    });
    connect(m_directionTabs, &QTabBar::currentChanged, this, [this](int index) {
        runGuarded(QStringLiteral("frm_Main.tcIrany"), [this, index] { m_controller->chooseDirection(index); });
    });
    connect(m_yearTabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index < 0)
            return;
        runGuarded(QStringLiteral("frm_Main.tcEv"),
                [this, index] { m_controller->chooseYear(m_yearTabs->tabText(index)); });
    });
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        runGuarded(QStringLiteral("frm_Main.grdLista"), [this, column] { m_controller->sortByColumn(column); });
    });
    connect(m_list, &QTableView::doubleClicked, this,
            [this] { m_actions->action(QStringLiteral("aSzerkeszt"))->trigger(); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        m_actions->listPopup()->popup(m_list->viewport()->mapToGlobal(pos));
    });
    QTableView *files = m_detail->fileGrid();
    connect(files, &QWidget::customContextMenuRequested, this, [this, files](const QPoint &pos) {
        m_actions->filePopup()->popup(files->viewport()->mapToGlobal(pos));
    });
}

void MainWindow::applySettings()
{
    const ProgramSettings &settings = session().settings;
    m_actions->applySettings(settings);
    m_detail->applySettings(settings);
    m_directionTabs->setTabText(Other, LiteralAmpersands(settings.mezo6));
    QStringList fields, titles;
    for (int n = 1; n <= 8; ++n) {
        fields << settings.listColumnField(n);
        titles << documentFieldLabel(fields.last(), settings);
    }
    m_model->setFieldColumns(fields, titles);
    m_databaseName->setText(ConnectionProfile::fromLine(session().profileLine).displayName +
                            QStringLiteral("  "));
}

void MainWindow::openList()
{
    // The list opens unfiltered on the newest year's incoming documents.
    m_actions->action(QStringLiteral("aSzur0"))->setChecked(true);
    DocumentFilter &filter = m_controller->filter();
    filter.entry = FilterEntry::None;
    filter.year = SelectInt(QStringLiteral("SELECT MAX(YEAR(dat_erk)) FROM iktato;"), 0);
    m_controller->rebuild(Incoming);
    // The status actions, the subjects the editor completes, the year tabs.
    m_actions->loadStatuses(db().query(QStringLiteral("SELECT * FROM statusz ORDER BY 1;")));
    QStringList &subjects = session().subjects;
    subjects.clear();
    FillList(subjects, QStringLiteral("SELECT DISTINCT i.targy FROM iktato i JOIN felhkod_csoport f ON "
                                      "(i.csoport=f.csoport) WHERE f.felhkod = ") +
                           QString::number(session().user.code) + QStringLiteral(" ORDER BY 1;"));
    loadYearTabs();
}

void MainWindow::loadYearTabs()
{
    QStringList years;
    FillList(years, QStringLiteral("SELECT DISTINCT DATE_FORMAT(dat_erk,'%Y') FROM iktato ORDER BY 1 DESC;"));
    years << QStringLiteral("Összes");
    const QSignalBlocker quiet(m_yearTabs);
    while (m_yearTabs->count() > 0)
        m_yearTabs->removeTab(0);
    for (const QString &year : std::as_const(years))
        m_yearTabs->addTab(year);
    m_yearTabs->setCurrentIndex(0);
}

// ---- the list

qint64 MainWindow::currentDocument() const
{
    return m_controller->currentDocument();
}

void MainWindow::refreshList()
{
    m_controller->refresh();
}

void MainWindow::focusSearchBox()
{
    m_searchBox->setFocus(Qt::OtherFocusReason);
}

void MainWindow::currentDocumentChanged()
{
    const Dataset &data = m_model->dataset();
    m_rowPanel->setText(RowCountText(data));
    m_detail->showRow(data, data.current());
    m_fileGridTimer->start();
}

void MainWindow::copyRegistrationId()
{
    const Dataset &data = m_model->dataset();
    const int col = data.fieldIndex(u"iktatoaz");
    // An empty list copies empty text, so nothing stale is pasted afterwards.
    const bool hasRow = data.current() >= 0 && col >= 0;
    QGuiApplication::clipboard()->setText(hasRow ? data.text(data.current(), col) : QString());
}

// ---- window

void MainWindow::placeWindow()
{
    // The remembered place is the outer frame, and so is the work area it must fit into.
    const LocalConfig &local = session().local;
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    QRect frame = local.teljesKep ? area : QRect(local.bal, local.felul, local.szeles, local.magas);
    if (!area.isEmpty())
        frame = fitIntoWorkArea(frame, area);
    placeWindowFrame(this, frame);
}

void MainWindow::applyFontSize()
{
    QFont f = font();
    f.setPointSize(session().local.fontSize > 0 ? session().local.fontSize : 9);
    setFont(f);
}

void MainWindow::changeFontSize(int step)
{
    int &size = session().local.fontSize;
    if (step > 0 && size < 10)
        ++size;
    else if (step < 0 && size > 8)
        --size;
    applyFontSize();
}

void MainWindow::openWebPage(const QString &address)
{
    DesktopServices::openUrl(QUrl(address));
}

void MainWindow::showAbout()
{
    QMessageBox box(this);
    box.setObjectName(QStringLiteral("frm_Nevjegy"));
    box.setWindowTitle(QStringLiteral("Névjegy"));
    box.setIconPixmap(Pictures::logo(128));
    box.setText(QStringLiteral("<b>Korvena iktatás</b><br>Verzió: ") + QLatin1String(ProgramVersion) +
                QStringLiteral("<br><br>Iktatóprogram irodáknak és kisvállalkozásoknak."));
    box.exec();
}

QTimer *MainWindow::oneShot(const QString &name, int milliseconds, std::function<void()> routine)
{
    auto *timer = new QTimer(this);
    timer->setObjectName(name);
    timer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; "after three seconds" means after.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(milliseconds);
    connect(timer, &QTimer::timeout, this, [name, routine = std::move(routine)] { runGuarded(QStringLiteral("frm_Main.") + name, routine); });
    timer->start();
    return timer;
}

void MainWindow::startTimers()
{
    m_keepAlive = new QTimer(this);
    m_keepAlive->setObjectName(QStringLiteral("tmrKeepAlive"));
    m_keepAlive->setInterval(60 * 1000);
    connect(m_keepAlive, &QTimer::timeout, this, [] {
        runGuarded(QStringLiteral("frm_Main.tmrKeepAlive"), [] { db().query(QStringLiteral("SELECT CURDATE();")); });
    });
    m_keepAlive->start();

    MainWindowRoutines &routines = mainWindowRoutines();
    if (session().local.vanFigyu)
        oneShot(QStringLiteral("tmrFigyu"), 3000, [this, &routines] {
            if (routines.showReminders)
                routines.showReminders(this, true);
        });
    if (session().settings.hatidfigyel >= 0)
        oneShot(QStringLiteral("tmrHatarido"), 3000, [this, &routines] {
            if (routines.showExpiringDeadlines)
                routines.showExpiringDeadlines(this);
        });
    oneShot(QStringLiteral("tmrVerzio"), 5000, [this, &routines] {
        if (routines.checkVersionNotice)
            routines.checkVersionNotice(this);
    });
    oneShot(QStringLiteral("tmrHir"), 10000, [this, &routines] {
        if (routines.checkNews)
            routines.checkNews(this);
    });
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    HighlightColumn(m_list, DocumentListModel::FirstFieldColumn);
    placeWindow();
    applyFontSize();
    focusSearchBox();
    QFont searchFont = m_searchBox->font();
    searchFont.setPointSize(font().pointSize());
    m_searchBox->setFont(searchFont);
    runGuarded(QStringLiteral("frm_Main.FormShow"), [this] {
        if (m_messages->showFirstUnread())
            m_messages->placeAtBottomOf(QRect(QPoint(0, 0), QSize(width(), statusBar()->geometry().top())));
    });
    if (session().settings.irasvedett)
        m_actions->disableForWriteProtection();
    LogoSplash::showSplash(Today());
    startTimers();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    m_list->layoutColumns(width());
    m_detail->setWide(DetailPanel::isWideWindow(width()));
    if (m_messages->isVisible())
        m_messages->placeAtBottomOf(QRect(QPoint(0, 0), QSize(width(), statusBar()->geometry().top())));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Session &current = session();
    const QRect g = windowFrameGeometry(this);
    current.local.bal = g.x();
    current.local.felul = g.y();
    current.local.magas = g.height();
    current.local.szeles = g.width();
    current.local.lastUser = current.user.login;
    current.local.mezok = current.settings.megjelenoAdatok;
    current.local.save();
    if (m_keepAlive)
        m_keepAlive->stop();
    // A reading under way is stopped, not waited for; index-attachments reads it later.
    AttachmentTextQueue::instance().shutdown();
    m_connection->close();
    event->accept();
}

bool MainWindow::event(QEvent *event)
{
    // Hints go to the middle panel, never over the panels as a status message.
    if (event->type() == QEvent::StatusTip) {
        if (m_hintsOn)
            m_hintPanel->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool MainWindow::isActionShortcut(const QKeyEvent *key) const
{
    const QKeySequence pressed(key->keyCombination());
    for (QAction *a : m_actions->actions())
        if (a->isEnabled() && !a->shortcut().isEmpty() &&
            a->shortcut().matches(pressed) == QKeySequence::ExactMatch)
            return true;
    return false;
}

void MainWindow::wheelToKey(QObject *receiver, const QWheelEvent *wheel)
{
    const int key = wheel->angleDelta().y() > 0 ? Qt::Key_Up : Qt::Key_Down;
    QObject *target = QApplication::focusWidget();
    if (!target)
        target = receiver;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Wheel:
        if (m_hintsOn && watched->isWidgetType()) {
            wheelToKey(watched, static_cast<QWheelEvent *>(event));
            return true;
        }
        break;
    case QEvent::ShortcutOverride:
        // The window's commands win over the search box's own editing keys.
        if (watched == m_searchBox && isActionShortcut(static_cast<QKeyEvent *>(event))) {
            event->ignore();
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
