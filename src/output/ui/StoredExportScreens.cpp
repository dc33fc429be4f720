#include "output/ui/StoredExportScreens.h"

#include "common/Encoding.h"
#include "common/ui/DbWidgets.h"
#include "common/ui/Dialog.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/Rights.h"
#include "core/ui/ErrorHandler.h"
#include "core/ui/RightsGate.h"
#include "db/DbError.h"
#include "masterdata/ui/EditorBase.h"
#include "output/DelimitedText.h"
#include "output/StoredExport.h"
#include "register/ui/AttachmentScreens.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString NoRowSelected = QStringLiteral("Nincs sor kiválasztva.");
const QString CsvFilter = QStringLiteral("CSV dokumentumok (*.csv);;Minden file (*)");
const QString SqlFilter = QStringLiteral("SQL állományok (*.sql)");

// Its items are dragged out as their plain text, which the editor's boxes take.
class ColumnNameList : public QListWidget
{
public:
    explicit ColumnNameList(QWidget *parent) : QListWidget(parent)
    {
        setDragEnabled(true);
        setDragDropMode(QAbstractItemView::DragOnly);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

protected:
    QMimeData *mimeData(const QList<QListWidgetItem *> &items) const override
    {
        auto *data = new QMimeData;
        if (!items.isEmpty())
            data->setText(items.first()->text());
        return data;
    }
};

QGroupBox *radioGroup(QWidget *parent, const QString &title, const char *objectName, QButtonGroup *group,
                      const QStringList &captions, const QStringList &names)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(objectName));
    auto *layout = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto *radio = new QRadioButton(captions[i], box);
        radio->setObjectName(names[i]);
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    return box;
}

QString flag(const QCheckBox *box)
{
    return box->isChecked() ? QStringLiteral("I") : QStringLiteral("N");
}

} // namespace

// ---- the list

StoredExportList::StoredExportList(QWidget *parent) : ListScreen(parent, ObjectName)
{
    setCaption(QStringLiteral("Adatexport"));
    setQuery(StoredExport::listQuery());
    setKeyField(QStringLiteral("csvexp"));
    setBaseCondition(StoredExport::baseCondition());
    setSearchFields(StoredExport::searchFields());
    setSortField(QStringLiteral("csvexp_nev"));
    setSortsByColumnTitle(true);
    setColumns({{QStringLiteral("csvexp_nev"), QStringLiteral("Export neve"), 0.35},
                {QStringLiteral("kategoria"), QStringLiteral("Kategória"), 0.20},
                {QStringLiteral("csopmezok"), QStringLiteral("Csoportosítás"), 0.20},
                {QStringLiteral("summezok"), QStringLiteral("Összegzés"), 0.25}},
               44);

    QAction *aUj = makeAction(QStringLiteral("aUj"), QStringLiteral("Új sor"), QKeySequence(Qt::Key_Insert),
                              {}, [this] { newDefinition(); });
    QAction *aSzerkeszt = makeAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"),
                                     QKeySequence(Qt::Key_F2), {}, [this] { editDefinition(); });
    QAction *aTorol = makeAction(QStringLiteral("aTorol"), QStringLiteral("Sor törlése"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Delete), {}, [this] { deleteDefinition(); });
    QAction *aExport =
        makeAction(QStringLiteral("aExport"), QStringLiteral("Export"), QKeySequence(Qt::Key_F3),
                   QStringLiteral("Export indítás"), [this] { exportToFile(); });
    m_ftp = makeAction(QStringLiteral("aFTP"), QStringLiteral("FTP export"),
                       QKeySequence(Qt::SHIFT | Qt::Key_F3), {}, [this] { exportToFtp(); });
    QAction *aVagolap = makeAction(QStringLiteral("aVagolap"), QStringLiteral("Vágólapra"),
                                   QKeySequence(Qt::Key_F4), {}, [this] { exportToClipboard(); });
    QAction *aKeres = makeSearchAction();
    QAction *aBezar = makeCloseAction();
    makeUnavailable(makeAcceptAction());

    // Offered to those who maintain master data; only administrators may use it.
    if (!hasRight(Right::Administrator) && !hasRight(Right::MasterDataEditing))
        makeUnavailable(aUj);

    setToolBarActions({aUj, aSzerkeszt, aTorol, nullptr, aExport, m_ftp, aVagolap, nullptr, aBezar});
    setPopupActions(
        {aUj, aSzerkeszt, aTorol, nullptr, aExport, m_ftp, aVagolap, nullptr, aKeres, nullptr, aBezar});
    setWriteActions({aUj, aTorol});
    updateFtpAction();
}

void StoredExportList::run(QWidget *parent)
{
    StoredExportList list(parent);
    list.requery();
    list.exec();
}

void StoredExportList::currentRowChanged()
{
    ListScreen::currentRowChanged();
    updateFtpAction();
}

void StoredExportList::updateFtpAction()
{
    const bool offered = hasRows() && currentText(QStringLiteral("ftp_kell")) == QLatin1String("I");
    m_ftp->setEnabled(offered);
    m_ftp->setVisible(offered);
}

StoredExportDefinition StoredExportList::currentDefinition() const
{
    return StoredExportDefinition::fromRow(data(), currentRow());
}

void StoredExportList::newDefinition()
{
    if (!CheckRight(Right::Administrator))
        return;
    const int key = StoredExportEditor::edit(this, -1);
    if (key != -1)
        requeryAt(key);
}

void StoredExportList::editDefinition()
{
    if (!hasRows()) {
        ShowError(NoRowSelected);
        return;
    }
    if (!CheckRight(Right::Administrator))
        return;
    const int key = StoredExportEditor::edit(this, int(currentValue(QStringLiteral("csvexp")).toLongLong()));
    if (key != -1)
        requeryAt(key);
}

void StoredExportList::deleteDefinition()
{
    if (!hasRows()) {
        ShowError(NoRowSelected);
        return;
    }
    if (!CheckRight(Right::Administrator))
        return;
    deleteCurrentRow(
        [this] { return StoredExport::deleteStatement(currentValue(QStringLiteral("csvexp"))); });
}

bool StoredExportList::mayRun(const StoredExportDefinition &definition)
{
    const QString why = StoredExport::refusal(definition.sql);
    if (!why.isEmpty()) {
        ShowError(why);
        return false;
    }
    return true;
}

bool StoredExportList::writeCurrentFile(const StoredExportDefinition &definition)
{
    if (!mayRun(definition))
        return false;
    const QString path = StoredExport::localPath(definition.localFile);
    // A stored name may point anywhere ("/etc/...", "../../"): outside the program's
    // own folders only with the user's word.
    if (StoredExport::isOutsideOwnFolders(path) &&
        !AskYesNo(QStringLiteral("Az export a program adatmappáján és a dokumentumok mappán kívülre írna:\r\n%1"
                                 "\r\nValóban ide írjam?")
                      .arg(QDir::toNativeSeparators(path)),
                  QStringLiteral("Megerősítés")))
        return false;
    const Dataset rows = StoredExport::runQuery(definition);
    const QString failure = StoredExport::writeFile(definition, rows);
    if (!failure.isEmpty()) {
        ShowError(QStringLiteral("Hiba: ") + failure);
        return false;
    }
    return true;
}

void StoredExportList::exportToFile()
{
    if (!hasRows()) {
        ShowError(NoRowSelected);
        return;
    }
    if (writeCurrentFile(currentDefinition()))
        ShowInfo(QStringLiteral("Export kész."));
}

void StoredExportList::exportToFtp()
{
    const StoredExportDefinition definition = currentDefinition();
    if (!hasRows() || !definition.ftp)
        return;
    // A file that was not written now is stale or cut: it is never sent.
    if (!writeCurrentFile(definition))
        return;
    // The transfer window keeps the program painting and lets the user stop it.
    QString error;
    bool cancelled = false;
    if (!FtpWindow::upload(this, StoredExport::ftpTarget(definition),
                           StoredExport::localPath(definition.localFile), StoredExport::uploadName(definition),
                           &error, &cancelled)) {
        if (cancelled)
            return;
        throw KorvenaError(error);
    }
    ShowInfo(QStringLiteral("Export kész."));
}

void StoredExportList::exportToClipboard()
{
    if (!hasRows()) {
        ShowError(NoRowSelected);
        return;
    }
    const StoredExportDefinition definition = currentDefinition();
    if (!mayRun(definition))
        return;
    const Dataset rows = StoredExport::runQuery(definition);
    QGuiApplication::clipboard()->setText(StoredExport::clipboardText(definition, rows));
    ShowInfo(QStringLiteral("Export vágólapra kész."));
}

// ---- the editor

StoredExportEditor::StoredExportEditor(QWidget *parent) : Dialog(parent, ObjectName, true)
{
    setWindowTitle(QStringLiteral("CSV Export beállítások"));
    const QString screen = QString(ObjectName) + QLatin1Char('.');
    auto makeAction = [this, &screen](const char *name, const QString &caption, const QKeySequence &key,
                                      std::function<void()> work) {
        auto *a = new QAction(caption, this);
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        addAction(a);
        connect(a, &QAction::triggered, this, guarded(screen + QLatin1String(name), std::move(work)));
        return a;
    };
    m_openSql = makeAction("aMegnyitas", QStringLiteral("Megnyitás file-ból"),
                           QKeySequence(Qt::CTRL | Qt::Key_O), [this] { loadSql(); });
    m_saveSql = makeAction("aMentes", QStringLiteral("Mentés file-ba"), QKeySequence(Qt::CTRL | Qt::Key_S),
                           [this] { saveSql(); });
    QAction *refresh = makeAction("aFrissit", QStringLiteral("Frissít"), QKeySequence(Qt::Key_F5),
                                  [this] { refreshColumns(); });
    // Ctrl+Enter and Esc are the dialog's own keys.
    m_accept = makeAction("aElfogad", QStringLiteral("Elfogad"), {}, [this] { accept(); });
    m_accept->setToolTip(QStringLiteral("Elfogad (Ctrl+Enter)"));
    QAction *cancel = makeAction("aMegsem", QStringLiteral("Mégsem"), {}, [this] { reject(); });
    cancel->setToolTip(QStringLiteral("Mégsem (Esc)"));
    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tbEszkozok"));
    toolBar->addActions({m_openSql, m_saveSql, refresh});
    toolBar->addSeparator();
    toolBar->addActions({m_accept, cancel});

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcLapok"));

    // Settings
    auto *settings = new QWidget(m_pages);
    m_name = lineEdit("edExportNeve", 50);
    upperFirstLetter(m_name, false);
    m_category = new QComboBox(settings);
    m_category->setObjectName(QStringLiteral("cbKategoria"));
    m_category->setEditable(true);
    m_category->lineEdit()->setMaxLength(45);
    m_fieldNames = lineEdit("edMezonevek", 100);
    m_fieldLabels = lineEdit("edMezocimkek", 100);
    m_grouping = lineEdit("edCsopmezok", 100);
    m_sums = lineEdit("edSummezok", 100);
    m_parameters = lineEdit("edParameterek", 50);
    m_searchFields = lineEdit("edKeresmezok", 100);
    m_dataCentre = new QCheckBox(QStringLiteral("Szerepeljen az AdatCentrum-ban?"), settings);
    m_dataCentre->setObjectName(QStringLiteral("cbAdatcentrum"));
    m_chart = new QCheckBox(QStringLiteral("Ez grafikon?"), settings);
    m_chart->setObjectName(QStringLiteral("cbEzgrafikon"));
    m_chartParameters = lineEdit("edGrafikonparam", 100);
    m_dropBoxes = {m_fieldNames, m_fieldLabels,  m_grouping,       m_sums,
                   m_parameters, m_searchFields, m_chartParameters};
    for (QLineEdit *box : std::as_const(m_dropBoxes))
        box->installEventFilter(this);
    m_columns = new ColumnNameList(settings);
    m_columns->setObjectName(QStringLiteral("lbOszlopok"));
    m_columns->setAccessibleName(QStringLiteral("Oszlopok"));
    m_columns->setFixedWidth(220);
    keepEnterKey(m_columns);

    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(QStringLiteral("Export neve"), m_name);
    form->addRow(QStringLiteral("Kategória"), m_category);
    form->addRow(QStringLiteral("Mezőnevek"), m_fieldNames);
    form->addRow(QStringLiteral("Mező fejlécek"), m_fieldLabels);
    form->addRow(QStringLiteral("Csoportosítás"), m_grouping);
    form->addRow(QStringLiteral("Összegzés"), m_sums);
    form->addRow(QStringLiteral("Paraméterek"), m_parameters);
    form->addRow(QStringLiteral("Keresés az alábbi mezőkben"), m_searchFields);
    form->addRow(QString(), m_dataCentre);
    form->addRow(QString(), m_chart);
    form->addRow(QStringLiteral("Grafikon paraméterek"), m_chartParameters);
    auto *columnsLabel = new QLabel(QStringLiteral("Oszlopok"), settings);
    columnsLabel->setBuddy(m_columns);
    auto *columnsBox = new QVBoxLayout;
    columnsBox->addWidget(columnsLabel);
    columnsBox->addWidget(m_columns, 1);
    auto *settingsLayout = new QHBoxLayout(settings);
    settingsLayout->addLayout(form, 1);
    settingsLayout->addLayout(columnsBox);
    m_pages->addTab(settings, QStringLiteral("Beállítások"));

    // Simple export
    auto *simple = new QWidget(m_pages);
    m_localFile = lineEdit("edFileLocal", 100);
    auto *browse = new QPushButton(QStringLiteral("..."), simple);
    browse->setObjectName(QStringLiteral("btnTallozas"));
    browse->setToolTip(QStringLiteral("Tallózás"));
    browse->setAccessibleName(QStringLiteral("Tallózás"));
    browse->setAutoDefault(false);
    m_separators = new QButtonGroup(this);
    m_quotes = new QButtonGroup(this);
    QGroupBox *separatorBox = radioGroup(simple, QStringLiteral("Határoló"), "rgHatarolo", m_separators,
                                         {QStringLiteral("Pontosvessző (;)"), QStringLiteral("Tabulátor"),
                                          QStringLiteral("Vessző (,)"), QStringLiteral("Cső (|)")},
                                         {QStringLiteral("rbPontosvesszo"), QStringLiteral("rbTabulator"),
                                          QStringLiteral("rbVesszo"), QStringLiteral("rbCso")});
    QGroupBox *quoteBox = radioGroup(
        simple, QStringLiteral("Szövegjelölő"), "rgSzovegjelolo", m_quotes,
        {QStringLiteral("Idézőjel (\")"), QStringLiteral("Aposztróf (')"), QStringLiteral("Semmi")},
        {QStringLiteral("rbIdezojel"), QStringLiteral("rbAposztrof"), QStringLiteral("rbSemmi")});
    m_ftp = new QCheckBox(QStringLiteral("FTP küldés?"), simple);
    m_ftp->setObjectName(QStringLiteral("cbFtpKell"));
    m_ftpHost = lineEdit("edHostFtp", 100);
    m_ftpFolder = lineEdit("edFileFtp", 100);
    m_ftpUser = lineEdit("edFtpUser", 50);
    m_ftpPassword = lineEdit("edFtpJelszo", 50);
    maskPasswordBox(m_ftpPassword);
    // The form's label names the row, not the box inside it.
    m_localFile->setAccessibleName(QStringLiteral("Lokális cél állomány"));
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_localFile, 1);
    fileRow->addWidget(browse);
    auto *simpleForm = new QFormLayout;
    simpleForm->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    simpleForm->addRow(QStringLiteral("Lokális cél állomány"), fileRow);
    auto *groups = new QHBoxLayout;
    groups->addWidget(separatorBox);
    groups->addWidget(quoteBox);
    groups->addStretch(1);
    simpleForm->addRow(groups);
    simpleForm->addRow(QString(), m_ftp);
    simpleForm->addRow(QStringLiteral("Kiszolgáló"), m_ftpHost);
    simpleForm->addRow(QStringLiteral("FTP mappája (távoli mappa)"), m_ftpFolder);
    simpleForm->addRow(QStringLiteral("FTP felhasználó"), m_ftpUser);
    simpleForm->addRow(QStringLiteral("FTP jelszó"), m_ftpPassword);
    auto *simpleLayout = new QVBoxLayout(simple);
    simpleLayout->addLayout(simpleForm);
    simpleLayout->addStretch(1);
    m_pages->addTab(simple, QStringLiteral("Egyszerű adatexport"));

    // SQL
    m_sql = new QPlainTextEdit(m_pages);
    m_sql->setObjectName(QStringLiteral("edSql"));
    m_sql->setAccessibleName(QStringLiteral("SQL"));
    m_sql->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_sql->setFont(QFont(QStringLiteral("Monospace")));
    keepEnterKey(m_sql);
    m_pages->addTab(m_sql, QStringLiteral("SQL"));

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(toolBar);
    layout->addWidget(m_pages, 1);
    resize(640, 480);

    connect(browse, &QPushButton::clicked, this,
            guarded(screen + QStringLiteral("btnTallozas"), [this] { browseLocalFile(); }));
    connect(m_pages, &QTabWidget::currentChanged, this, [this] { pageChanged(); });
    pageChanged();
    if (isWriteProtected())
        m_accept->setEnabled(false);
}

QLineEdit *StoredExportEditor::lineEdit(const char *objectName, int maxLength)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(QLatin1String(objectName));
    box->setMaxLength(maxLength);
    return box;
}

int StoredExportEditor::edit(QWidget *parent, int key)
{
    StoredExportEditor editor(parent);
    editor.load(key == -1 ? StoredExport::newRecord() : StoredExport::load(key));
    if (editor.exec() != QDialog::Accepted)
        return -1;
    return StoredExport::save(key, editor.record());
}

void StoredExportEditor::load(const EditRecord &record)
{
    m_record = record;
    const auto text = [&](QStringView field) { return record.value(field).toString(); };
    m_name->setText(text(u"csvexp_nev"));
    FillCombo(m_category, StoredExport::categoryQuery(), QString());
    m_category->setEditText(text(u"kategoria"));
    m_fieldNames->setText(text(u"mezonevek"));
    m_fieldLabels->setText(text(u"mezocimkek"));
    m_grouping->setText(text(u"csopmezok"));
    m_sums->setText(text(u"summezok"));
    m_parameters->setText(text(u"parameterek"));
    m_searchFields->setText(text(u"keresmezok"));
    m_dataCentre->setChecked(text(u"adatcentrum") == QLatin1String("I"));
    m_chart->setChecked(text(u"ezgrafikon") == QLatin1String("I"));
    m_chartParameters->setText(text(u"grafikonparam"));
    m_localFile->setText(text(u"file_local"));
    if (QAbstractButton *b = m_separators->button(record.value(u"hatarolo").toInt()))
        b->setChecked(true);
    if (QAbstractButton *b = m_quotes->button(record.value(u"szovegjelolo").toInt()))
        b->setChecked(true);
    m_ftp->setChecked(text(u"ftp_kell") == QLatin1String("I"));
    m_ftpHost->setText(text(u"host_ftp"));
    m_ftpFolder->setText(text(u"file_ftp"));
    m_ftpUser->setText(text(u"ftp_user"));
    m_ftpPassword->setText(text(u"ftp_jelszo"));
    m_sql->setPlainText(text(u"szoveg_sql"));
    m_columns->clear();
    if (!m_sql->toPlainText().trimmed().isEmpty())
        refreshColumns();
}

EditRecord StoredExportEditor::record() const
{
    EditRecord r = m_record;
    r.setBoxText(u"csvexp_nev", m_name->text());
    r.setBoxText(u"kategoria", m_category->currentText());
    r.setBoxText(u"mezonevek", m_fieldNames->text());
    r.setBoxText(u"mezocimkek", m_fieldLabels->text());
    r.setBoxText(u"csopmezok", m_grouping->text());
    r.setBoxText(u"summezok", m_sums->text());
    r.setBoxText(u"parameterek", m_parameters->text());
    r.setBoxText(u"keresmezok", m_searchFields->text());
    r.setValue(u"adatcentrum", flag(m_dataCentre));
    r.setValue(u"ezgrafikon", flag(m_chart));
    r.setBoxText(u"grafikonparam", m_chartParameters->text());
    r.setBoxText(u"file_local", m_localFile->text());
    if (m_separators->checkedId() >= 0)
        r.setValue(u"hatarolo", m_separators->checkedId());
    if (m_quotes->checkedId() >= 0)
        r.setValue(u"szovegjelolo", m_quotes->checkedId());
    r.setValue(u"ftp_kell", flag(m_ftp));
    r.setBoxText(u"host_ftp", m_ftpHost->text());
    r.setBoxText(u"file_ftp", m_ftpFolder->text());
    r.setBoxText(u"ftp_user", m_ftpUser->text());
    r.setBoxText(u"ftp_jelszo", m_ftpPassword->text());
    r.setBoxText(u"szoveg_sql", m_sql->toPlainText());
    return r;
}

void StoredExportEditor::accept()
{
    if (!m_accept->isEnabled())
        return;
    Dialog::accept();
}

void StoredExportEditor::appendColumnName(QLineEdit *box, const QString &name)
{
    box->setText(box->text().isEmpty() ? name : box->text() + QLatin1Char(',') + name);
}

bool StoredExportEditor::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (box && m_dropBoxes.contains(box)) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDropEvent *>(event);
            if (drag->mimeData()->hasText()) {
                drag->acceptProposedAction();
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            if (drop->mimeData()->hasText()) {
                appendColumnName(box, drop->mimeData()->text().trimmed());
                drop->acceptProposedAction();
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return Dialog::eventFilter(watched, event);
}

void StoredExportEditor::refreshColumns()
{
    m_columns->clear();
    const QString sql = m_sql->toPlainText();
    if (sql.trimmed().isEmpty())
        return;
    QStringList names;
    try {
        names = StoredExport::resultColumns(sql);
    } catch (const KorvenaError &e) {
        ShowError(QStringLiteral("Hibás SQL: ") + e.text());
        return;
    }
    m_columns->addItems(names);
}

void StoredExportEditor::pageChanged()
{
    const bool sqlShowing = m_pages->currentIndex() == SqlPage;
    m_openSql->setEnabled(sqlShowing);
    m_saveSql->setEnabled(sqlShowing);
}

void StoredExportEditor::loadSql()
{
    if (m_pages->currentIndex() != SqlPage)
        return;
    const QString name = FileDialog::getOpenFileName(this, QStringLiteral("Megnyitás"), QString(), SqlFilter);
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw KorvenaError(file.errorString());
    m_sql->setPlainText(FromCp1250(file.readAll()));
    refreshColumns();
}

void StoredExportEditor::saveSql()
{
    if (m_pages->currentIndex() != SqlPage)
        return;
    QString name = FileDialog::getSaveFileName(this, QStringLiteral("Mentés"), QString(), SqlFilter);
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".sql");
    writeWholeFile(name, ToCp1250(m_sql->toPlainText()));
}

void StoredExportEditor::browseLocalFile()
{
    const QString name =
        FileDialog::getSaveFileName(this, QStringLiteral("Mentés"), m_localFile->text(), CsvFilter);
    if (!name.isEmpty())
        m_localFile->setText(name);
}
