#include "core/ui/DatabaseList.h"

#include "common/Clock.h"
#include "common/Numbers.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/ConnectionProfile.h"
#include "core/LocalConfig.h"
#include "core/ui/ErrorHandler.h"
#include "core/ui/ListScreen.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

class QuitGuard : public QObject
{
public:
    explicit QuitGuard(DatabaseBackup::FullBackup *backup) : QObject(backup), m_backup(backup)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Close || !qobject_cast<QMainWindow *>(watched) ||
            !static_cast<QWidget *>(watched)->isWindow() || !m_backup->isRunning())
            return false;
        if (AskYesNo(QStringLiteral("A teljes biztonsági mentés még fut:\r\n%1\r\n\r\nHa most kilép, a mentés "
                                    "leáll és nem készül el. Kilép mégis?")
                         .arg(QDir::toNativeSeparators(m_backup->target())),
                     QStringLiteral("Megerősítés")))
            return false;
        event->ignore();
        return true;
    }

private:
    DatabaseBackup::FullBackup *m_backup;
};

enum Column
{
    DisplayName,
    Database,
    Server,
    Port,
    User,
    Version,
    ColumnCount
};

QString cellText(const ProfileRow &r, int column)
{
    switch (column) {
    case DisplayName:
        return r.displayName;
    case Database:
        return r.database;
    case Server:
        return r.server;
    case Port:
        return QString::number(r.port);
    case User:
        return r.user;
    default:
        return r.version;
    }
}

bool lessThan(const ProfileRow &a, const ProfileRow &b, int column)
{
    if (column == Port)
        return a.port < b.port;
    return QString::compare(cellText(a, column), cellText(b, column), Qt::CaseInsensitive) < 0;
}

QString proposedPath(const QString &database)
{
    const QString name = DatabaseBackup::proposedFileName(database, Now()) + QStringLiteral(".sql");
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(name);
}

// The save dialog's default extension.
QString withDefaultExtension(const QString &file)
{
    return QFileInfo(file).suffix().isEmpty() ? file + QStringLiteral(".sql") : file;
}

} // namespace

// ---- profile editor

ProfileEditDialog::ProfileEditDialog(QWidget *parent, const ProfileRow &row)
    : Dialog(parent, ObjectName), m_row(row)
{
    setWindowTitle(QStringLiteral("Tárhely"));
    auto *form = new QFormLayout;
    m_displayName = new QLineEdit(row.displayName, this);
    m_server = new QLineEdit(row.server, this);
    m_user = new QLineEdit(row.user, this);
    m_password = new QLineEdit(row.password, this);
    maskPasswordBox(m_password);
    m_showPassword = new QToolButton(this);
    m_showPassword->setText(QStringLiteral("Mutat"));
    m_showPassword->setToolTip(QStringLiteral("A jelszó megjelenítése vagy elrejtése"));
    m_showPassword->setCheckable(true);
    m_showPassword->setFocusPolicy(Qt::NoFocus);
    connect(m_showPassword, &QToolButton::toggled, this, [this](bool plain) {
        m_password->setEchoMode(plain ? QLineEdit::Normal : QLineEdit::Password);
        m_password->setFocus();
    });
    m_database = new QLineEdit(row.database, this);
    m_port = new QLineEdit(QString::number(row.port), this);
    m_port->setValidator(new QIntValidator(0, 65535, m_port));
    for (QLineEdit *e : {m_displayName, m_server, m_user, m_password, m_database})
        e->setMaxLength(50);

    auto *passwordRow = new QHBoxLayout;
    passwordRow->setContentsMargins(0, 0, 0, 0);
    passwordRow->addWidget(m_password, 1);
    passwordRow->addWidget(m_showPassword);
    form->addRow(QStringLiteral("Megjelenített név"), m_displayName);
    form->addRow(QStringLiteral("Kiszolgáló"), m_server);
    form->addRow(QStringLiteral("Felhasználó"), m_user);
    auto *passwordLabel = new QLabel(QStringLiteral("Jelszó"), this);
    passwordLabel->setBuddy(m_password);
    form->addRow(passwordLabel, passwordRow);
    form->addRow(QStringLiteral("Adatbázis / tárhely"), m_database);
    form->addRow(QStringLiteral("Port"), m_port);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("btnMegsem"));
    connect(ok, &QPushButton::clicked, this, [this] {
        const QString refusal = profileFieldsRefusal({m_displayName->text(), m_server->text(), m_user->text(),
                                                      m_password->text(), m_database->text()});
        if (!refusal.isEmpty()) {
            ShowError(refusal);
            return;
        }
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setTabOrder(m_displayName, m_server);
    setTabOrder(m_server, m_user);
    setTabOrder(m_user, m_password);
    setTabOrder(m_password, m_database);
    setTabOrder(m_database, m_port);
    setTabOrder(m_port, ok);
    setTabOrder(ok, cancel);
}

ProfileRow ProfileEditDialog::row() const
{
    ProfileRow r = m_row;
    r.displayName = m_displayName->text();
    r.server = m_server->text();
    r.user = m_user->text();
    r.password = m_password->text();
    r.database = m_database->text();
    r.port = TextToInt(m_port->text());
    return r;
}

// ---- the list

DatabaseListDialog::DatabaseListDialog(QWidget *parent) : Dialog(parent, ObjectName, true)
{
    setWindowTitle(QStringLiteral("Tárhelyek"));
    // This screen keeps the size it was drawn for, whatever the configured size.
    QFont f = font();
    f.setPointSize(9);
    setFont(f);

    const IniFile ini = localConfigFile();
    m_rows = ProfileList::read(ini);

    QAction *aUj =
        makeAction(QStringLiteral("aUj"), QStringLiteral("Új"), Qt::Key_Insert, [this] { newRow(); });
    QAction *aSzerkeszt = makeAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"), Qt::Key_F2,
                                     [this] { editRow(); });
    QAction *aTorol = makeAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { deleteRow(); });
    QAction *aTeszt = makeAction(QStringLiteral("aTeszt"), QStringLiteral("Teszt"),
                                 QKeySequence(Qt::CTRL | Qt::Key_T), [this] { testRow(); });
    QAction *aBackup = makeAction(QStringLiteral("aBackup"), QStringLiteral("Biztonsági mentés készítés"),
                                  Qt::Key_F3, [this] { scriptBackup(); });
    QAction *aMySQLDump =
        makeAction(QStringLiteral("aMySQLDump"), QStringLiteral("Teljes biztonsági mentés készítés"),
                   Qt::Key_F6, [this] { m_fullPanel->setVisible(!m_fullPanel->isVisible()); });
    QAction *aTeljesMentes =
        makeAction(QStringLiteral("aTeljesMentes"), QStringLiteral("Teljes mentés futtatása"), QKeySequence(),
                   [this] { fullBackup(); });
    QAction *aBezar =
        makeAction(QStringLiteral("aBezar"), QStringLiteral("Bezár"), Qt::Key_Escape, [this] { reject(); });

    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_toolBar->addAction(aUj);
    m_toolBar->addAction(aSzerkeszt);
    m_toolBar->addAction(aTorol);
    m_toolBar->addSeparator();
    m_toolBar->addAction(aTeszt);
    m_toolBar->addSeparator();
    auto *saveMenu = new QMenu(this);
    saveMenu->addAction(aBackup);
    saveMenu->addSeparator();
    saveMenu->addAction(aMySQLDump);
    m_saveButton = new QToolButton(this);
    m_saveButton->setObjectName(QStringLiteral("btnMentes"));
    m_saveButton->setText(QStringLiteral("Mentés"));
    m_saveButton->setMenu(saveMenu);
    m_saveButton->setPopupMode(QToolButton::InstantPopup);
    m_toolBar->addWidget(m_saveButton);
    m_toolBar->addSeparator();
    m_toolBar->addAction(aBezar);

    m_popup = new QMenu(this);
    m_popup->addActions({aUj, aSzerkeszt, aTorol});
    m_popup->addSeparator();
    m_popup->addAction(aTeszt);
    m_popup->addSeparator();
    m_popup->addAction(aBezar);

    m_grid = new QTableWidget(0, ColumnCount, this);
    m_grid->setObjectName(QStringLiteral("grdAdatbazis"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Megjelenített név"),
                                       QStringLiteral("Adatbázis / tárhely"), QStringLiteral("Kiszolgáló"),
                                       QStringLiteral("Port"), QStringLiteral("Felhasználó"),
                                       QStringLiteral("Verzió")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->setAccessibleName(QStringLiteral("Tárhelyek"));
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { sortBy(column); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [aSzerkeszt] { aSzerkeszt->trigger(); });
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { m_popup->popup(m_grid->viewport()->mapToGlobal(p)); });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this] { updateActions(); });

    // The full backup: the dump tool's place and its start.
    m_fullPanel = new QGroupBox(QStringLiteral("Biztonsági mentés készítés"), this);
    m_fullPanel->setObjectName(QStringLiteral("pnlTeljesMentes"));
    m_toolPath = new QLineEdit(ProfileList::dumpToolPath(ini), m_fullPanel);
    m_toolPath->setObjectName(QStringLiteral("edMysqlDump"));
    auto *toolLabel = new QLabel(QStringLiteral("MySQLDump.exe program helye"), m_fullPanel);
    toolLabel->setBuddy(m_toolPath);
    auto *browse = new QToolButton(m_fullPanel);
    browse->setObjectName(QStringLiteral("btnTallo"));
    browse->setText(QStringLiteral("…"));
    browse->setToolTip(QStringLiteral("A mentőprogram kiválasztása"));
    browse->setAccessibleName(QStringLiteral("Tallózás"));
    connect(browse, &QToolButton::clicked, this,
            guarded(QString(ObjectName) + QStringLiteral(".btnTallo"), [this] { browseTool(); }));
    auto *runFull = new QPushButton(aTeljesMentes->text(), m_fullPanel);
    runFull->setObjectName(QStringLiteral("btnTeljesMentes"));
    connect(runFull, &QPushButton::clicked, aTeljesMentes, &QAction::trigger);
    connect(aTeljesMentes, &QAction::changed, runFull,
            [runFull, aTeljesMentes] { runFull->setEnabled(aTeljesMentes->isEnabled()); });
    auto *closePanel = new QToolButton(m_fullPanel);
    closePanel->setText(QStringLiteral("×"));
    closePanel->setToolTip(QStringLiteral("A panel bezárása"));
    closePanel->setAccessibleName(QStringLiteral("A panel bezárása"));
    connect(closePanel, &QToolButton::clicked, m_fullPanel, &QWidget::hide);
    auto *panelLayout = new QGridLayout(m_fullPanel);
    panelLayout->addWidget(toolLabel, 0, 0, 1, 2);
    panelLayout->addWidget(closePanel, 0, 2, Qt::AlignRight);
    panelLayout->addWidget(m_toolPath, 1, 0);
    panelLayout->addWidget(browse, 1, 1);
    panelLayout->addWidget(runFull, 2, 0, 1, 3, Qt::AlignLeft);
    m_fullPanel->hide();

    // The running backup's progress.
    m_progressPanel = new QWidget(this);
    m_progress = new QProgressBar(m_progressPanel);
    m_progress->setRange(0, 100);
    m_progress->setAccessibleName(QStringLiteral("A mentés állása"));
    m_stop = new QPushButton(QStringLiteral("Leállítás"), m_progressPanel);
    m_stop->setObjectName(QStringLiteral("btnLeallit"));
    connect(m_stop, &QPushButton::clicked, this, [this] { m_stopRequested = true; });
    auto *progressLayout = new QHBoxLayout(m_progressPanel);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    progressLayout->addWidget(m_progress, 1);
    progressLayout->addWidget(m_stop);
    m_progressPanel->hide();
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblMentes"));
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, [this] { showBackupProgress(); });

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(m_toolBar);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_fullPanel);
    layout->addWidget(m_progressPanel);
    layout->addWidget(m_status);
    resize(640, 360);

    sortRows(-1);
    fillGrid(0);
}

DatabaseListDialog::~DatabaseListDialog()
{
    if (m_worker) {
        m_stopRequested = true;
        m_worker->disconnect(this);
        m_worker->wait();
        delete m_worker;
    }
}

void DatabaseListDialog::run(QWidget *parent)
{
    DatabaseListDialog dialog(parent);
    dialog.exec();
}

QAction *DatabaseListDialog::makeAction(const QString &name, const QString &caption, const QKeySequence &key,
                                        std::function<void()> handler)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(name);
    if (!key.isEmpty()) {
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    addAction(a);
    connect(a, &QAction::triggered, this,
            guarded(QString(ObjectName) + QLatin1Char('.') + name, std::move(handler)));
    return a;
}

QAction *DatabaseListDialog::action(const QString &name) const
{
    return findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
}

int DatabaseListDialog::currentRow() const
{
    const int r = m_grid->currentRow();
    return r >= 0 && r < m_rows.size() ? r : -1;
}

void DatabaseListDialog::setCurrentRow(int row)
{
    if (row >= 0 && row < m_rows.size())
        m_grid->setCurrentCell(row, qMax(0, m_grid->currentColumn()));
}

void DatabaseListDialog::sortBy(int column)
{
    m_sortColumn = column;
    const int current = currentRow();
    sortRows(current);
}

// Orders the rows by the sort column, keeping equal rows as they were, and
// shows them with the given row (an index before sorting) current.
void DatabaseListDialog::sortRows(int keepRow)
{
    std::vector<int> order(size_t(m_rows.size()));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return lessThan(m_rows[a], m_rows[b], m_sortColumn); });
    QList<ProfileRow> sorted;
    sorted.reserve(m_rows.size());
    int current = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        sorted << m_rows[order[i]];
        if (order[i] == keepRow)
            current = int(i);
    }
    m_rows = sorted;
    HighlightColumn(m_grid, m_sortColumn);
    fillGrid(current);
}

void DatabaseListDialog::fillGrid(int current)
{
    m_grid->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QTableWidgetItem(cellText(m_rows[r], c));
            if (c == Port)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
    }
    if (!m_rows.isEmpty())
        m_grid->setCurrentCell(qBound(0, current, int(m_rows.size()) - 1), 0);
    updateActions();
}

void DatabaseListDialog::fitColumns()
{
    static constexpr int Shares[ColumnCount] = {30, 15, 15, 10, 15, 15};
    const int w = m_grid->width() - 44;
    for (int c = 0; c < ColumnCount; ++c)
        m_grid->setColumnWidth(c, qMax(0, w * Shares[c] / 100));
}

void DatabaseListDialog::resizeEvent(QResizeEvent *event)
{
    Dialog::resizeEvent(event);
    fitColumns();
}

void DatabaseListDialog::updateActions()
{
    const bool hasRow = currentRow() >= 0;
    for (const char *name : {"aSzerkeszt", "aTorol", "aTeszt", "aTeljesMentes"})
        action(QString::fromLatin1(name))->setEnabled(hasRow);
    action(QStringLiteral("aBackup"))->setEnabled(hasRow && !m_worker);
}

bool DatabaseListDialog::editAt(int row)
{
    ProfileEditDialog editor(this, m_rows[row]);
    if (editor.exec() != QDialog::Accepted)
        return false;
    m_rows[row] = editor.row();
    return true;
}

void DatabaseListDialog::newRow()
{
    m_rows << ProfileRow();
    const int row = int(m_rows.size()) - 1;
    if (!editAt(row)) {
        m_rows.removeLast();
        return;
    }
    sortRows(row);
}

void DatabaseListDialog::editRow()
{
    const int row = currentRow();
    if (row < 0 || !editAt(row))
        return;
    sortRows(row);
}

void DatabaseListDialog::deleteRow()
{
    const int row = currentRow();
    if (row < 0 || !AskYesNo(QStringLiteral("Valóban töröljem az adatbázist a listából?"),
                             QStringLiteral("Megerősítés")))
        return;
    m_rows.removeAt(row);
    fillGrid(qMin(row, int(m_rows.size()) - 1));
}

void DatabaseListDialog::testRow()
{
    const int row = currentRow();
    if (row < 0)
        return;
    Connection connection;
    try {
        connection.open(m_rows[row].connectionParams());
    } catch (const DbError &e) {
        ShowError(QStringLiteral("Hiba: ") + e.message());
        return;
    } catch (const EncodingError &e) {
        ShowError(QStringLiteral("Hiba: ") + e.text());
        return;
    }
    QString version;
    try {
        version = connection.selectValue(QStringLiteral("SELECT MAX(verzio) FROM verzio;")).toString();
    } catch (const DbError &) {
        // A database that is no register has no version to show; the connection itself works.
    }
    connection.close();
    if (!version.isEmpty()) {
        m_rows[row].version = version;
        m_grid->item(row, Version)->setText(version);
    }
    ShowInfo(QStringLiteral("Kapcsolat vizsgálata sikeres"));
}

void DatabaseListDialog::scriptBackup()
{
    const int row = currentRow();
    if (row < 0 || m_worker)
        return;
    QString chosen = FileDialog::getSaveFileName(
        this, QStringLiteral("Biztonsági mentés készítés"), proposedPath(m_rows[row].database),
        QStringLiteral("SQL file (*.sql);;Tömörített SQL file (*.zip)"));
    if (chosen.isEmpty())
        return;
    chosen = withDefaultExtension(chosen);

    m_backupFile = chosen;
    m_stopRequested = false;
    m_rowsDone = 0;
    m_rowsEstimate = 0;
    m_tablesDone = 0;
    m_tableCount = 0;
    m_failure = nullptr;
    m_outcome = DatabaseBackup::Outcome::Stopped;
    const ConnectionParams params = m_rows[row].connectionParams();
    m_worker = QThread::create([this, params, chosen] {
        try {
            m_outcome =
                DatabaseBackup::scriptBackup(params, chosen, [this](const DatabaseBackup::Progress &p) {
                    m_rowsDone = p.totalRows;
                    m_rowsEstimate = p.totalEstimate;
                    m_tablesDone = p.tableIndex;
                    m_tableCount = p.tableCount;
                    return !m_stopRequested.load();
                });
        } catch (...) {
            m_failure = std::current_exception();
        }
    });
    connect(m_worker, &QThread::finished, this, [this] { backupFinished(); });
    m_progress->setValue(0);
    m_status->setText(QStringLiteral("Mentés: ") + chosen);
    m_progressPanel->show();
    updateActions();
    m_worker->start();
    m_progressTimer->start();
}

void DatabaseListDialog::showBackupProgress()
{
    const qint64 rows = m_rowsDone;
    const qint64 estimate = m_rowsEstimate;
    const int tables = m_tableCount;
    int percent = 0;
    if (estimate > 0)
        percent = int(qMin<qint64>(99, rows * 100 / estimate));
    else if (tables > 0)
        percent = m_tablesDone * 100 / tables;
    m_progress->setValue(percent);
    m_status->setText(QStringLiteral("Mentés: %1. tábla / %2, %3 sor")
                          .arg(qMin(m_tablesDone + 1, qMax(tables, 1)))
                          .arg(tables)
                          .arg(rows));
}

void DatabaseListDialog::backupFinished()
{
    if (!m_worker)
        return;
    m_progressTimer->stop();
    m_worker->wait();
    m_worker->deleteLater();
    m_worker = nullptr;
    m_progressPanel->hide();
    updateActions();
    if (!m_failure) {
        m_status->setText(m_outcome == DatabaseBackup::Outcome::Written
                              ? QStringLiteral("A mentés elkészült: ") + m_backupFile
                              : QStringLiteral("A mentés leállítva."));
        return;
    }
    m_status->setText(QStringLiteral("A mentés nem készült el."));
    const std::exception_ptr failure = m_failure;
    m_failure = nullptr;
    // The failures a backup expects; anything else goes to the error handler.
    try {
        std::rethrow_exception(failure);
    } catch (const DatabaseBackup::ArchiveError &e) {
        ShowError(QStringLiteral("Hiba az archiválás közben\r\n") + e.text());
    } catch (const DbError &e) {
        ShowError(QStringLiteral("Hiba: ") + e.message());
    } catch (const KorvenaError &e) {
        ShowError(QStringLiteral("Hiba: ") + e.text());
    } catch (...) {
        reportUnhandledException();
    }
}

void DatabaseListDialog::browseTool()
{
    const QString file =
        FileDialog::getOpenFileName(this, QStringLiteral("Adatbázis visszaállítás"), m_toolPath->text(),
                                    QStringLiteral("mysqldump (mysqldump mysqldump.exe mariadb-dump)"));
    if (!file.isEmpty())
        m_toolPath->setText(file);
}

void DatabaseListDialog::fullBackup()
{
    const int row = currentRow();
    if (row < 0)
        return;
    QString target =
        FileDialog::getSaveFileName(this, QStringLiteral("Teljes biztonsági mentés készítés"),
                                    proposedPath(m_rows[row].database), QStringLiteral("SQL file (*.sql)"));
    if (target.isEmpty())
        return;
    target = withDefaultExtension(target);
    const QString tool = DatabaseBackup::findDumpTool(m_toolPath->text());
    if (tool.isEmpty()) {
        ShowError(QStringLiteral("A mentőprogram (mysqldump vagy mariadb-dump) nem található. "
                                 "Adja meg a helyét a „MySQLDump.exe program helye” mezőben."));
        return;
    }
    // The tool runs on after the screen closes; the application owns it until it ends.
    auto *backup = new DatabaseBackup::FullBackup(QCoreApplication::instance());
    try {
        backup->start(tool, m_rows[row].connectionParams(), target);
    } catch (const KorvenaError &e) {
        delete backup;
        ShowError(e.text());
        return;
    }
    guardQuitWhileRunning(backup);
    m_status->setText(QStringLiteral("A teljes mentés fut: ") + target);
    QPointer<QLabel> status = m_status;
    connect(backup, &DatabaseBackup::FullBackup::finished, QCoreApplication::instance(),
            [backup, status, target](bool ok, const QString &message) {
                backup->deleteLater();
                if (status)
                    status->setText(ok ? QStringLiteral("A teljes mentés elkészült: ") + target
                                       : QStringLiteral("A teljes mentés nem sikerült."));
                if (!ok)
                    ShowError(QStringLiteral("A teljes mentés nem sikerült:\r\n") + message);
            });
}

void guardQuitWhileRunning(DatabaseBackup::FullBackup *backup)
{
    new QuitGuard(backup);
}

void DatabaseListDialog::done(int result)
{
    if (m_worker) {
        m_stopRequested = true;
        m_worker->disconnect(this);
        m_worker->wait();
        backupFinished();
    }
    IniFile ini = localConfigFile();
    ProfileList::setDumpToolPath(ini, m_toolPath->text());
    ProfileList::write(ini, m_rows);
    Dialog::done(result);
}
