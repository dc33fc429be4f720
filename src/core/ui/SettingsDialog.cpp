#include "core/ui/SettingsDialog.h"

#include "db/DbHelpers.h"
#include "common/SqlText.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "core/ProgramSettings.h"
#include "core/ui/RightsGate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString Table = QStringLiteral("beallit");
const QString KeyColumn = QStringLiteral("beallit");

SettingsDialog::GroupPicker &groupPicker()
{
    static SettingsDialog::GroupPicker picker;
    return picker;
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    const bool aNull = !a.isValid() || a.isNull();
    const bool bNull = !b.isValid() || b.isNull();
    if (aNull || bNull)
        return aNull == bNull;
    return a.toString() == b.toString();
}

QString flagText(bool on)
{
    return on ? QStringLiteral("I") : QStringLiteral("N");
}

QFormLayout *newForm(QWidget *parent)
{
    auto *form = new QFormLayout(parent);
    form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    return form;
}

QLabel *warningLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

SettingsDialog::SettingsDialog(QWidget *parent) : Dialog(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Beállítások"));

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->addTab(generalTab(), QStringLiteral("Általános"));
    tabs->addTab(documentsTab(), QStringLiteral("Dokumentumok"));
    tabs->addTab(displayedFieldsTab(), QStringLiteral("Megjelenő adatok"));
    tabs->addTab(listFieldsTab(), QStringLiteral("Nyitó képernyőn megjelenő adatok"));
    tabs->addTab(captionsTab(), QStringLiteral("Mezőnevek módosítása"));
    tabs->addTab(clipboardTab(), QStringLiteral("Vágólapra"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("btnMegsem"));
    connect(ok, &QPushButton::clicked, this, &SettingsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &SettingsDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    setFixedSize(860, 450);

    loadRow();
}

bool SettingsDialog::run(QWidget *parent)
{
    if (!CheckRight(Right::Administrator))
        return false;
    {
        SettingsDialog dialog(parent);
        dialog.exec();
    }
    Session &current = session();
    current.settings = ProgramSettings::load(AppFolders::current());
    for (const QString &error : ensureGroupFolders(current.settings))
        ShowError(error);
    return true;
}

void SettingsDialog::setGroupPicker(GroupPicker picker)
{
    groupPicker() = std::move(picker);
}

// ---- controls bound to the row

QCheckBox *SettingsDialog::flagBox(const QString &caption, const QString &column)
{
    auto *box = new QCheckBox(caption, this);
    box->setObjectName(column);
    connect(box, &QCheckBox::toggled, this,
            [this, column](bool on) { m_record.setValue(column, flagText(on)); });
    m_flagBoxes.append(box);
    return box;
}

QLineEdit *SettingsDialog::textEdit(const QString &column)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(column);
    connect(edit, &QLineEdit::textChanged, this,
            [this, column](const QString &text) { m_record.setValue(column, text); });
    m_textEdits.append(edit);
    return edit;
}

QComboBox *SettingsDialog::columnChoice(const QString &column)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(column);
    combo->setEditable(true);
    combo->addItems(documentListColumns());
    connect(combo, &QComboBox::currentTextChanged, this,
            [this, column](const QString &text) { m_record.setValue(column, text); });
    m_columnChoices.append(combo);
    return combo;
}

QWidget *SettingsDialog::folderEdit(const QString &column, const QString &caption)
{
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    QLineEdit *edit = textEdit(column);
    auto *browse = new QPushButton(QStringLiteral("..."), box);
    browse->setObjectName(QStringLiteral("btn_") + column);
    browse->setFixedWidth(32);
    browse->setToolTip(caption);
    browse->setAccessibleName(caption);
    connect(browse, &QPushButton::clicked, this, [this, edit, caption] {
        const QString folder = FileDialog::getExistingDirectory(this, caption, edit->text());
        if (!folder.isEmpty())
            edit->setText(folder);
    });
    row->addWidget(edit);
    row->addWidget(browse);
    return box;
}

QGroupBox *SettingsDialog::checkGroup(const QString &title, const QStringList &captions,
                                      const QString &namePrefix, QList<QCheckBox *> &boxes)
{
    auto *group = new QGroupBox(title, this);
    auto *grid = new QGridLayout(group);
    const int rows = (int(captions.size()) + 2) / 3;
    for (int i = 0; i < captions.size(); ++i) {
        auto *box = new QCheckBox(captions[i], group);
        box->setObjectName(namePrefix + QString::number(i + 1));
        boxes.append(box);
        grid->addWidget(box, i % rows, i / rows);
    }
    return group;
}

// ---- tabs

QWidget *SettingsDialog::generalTab()
{
    auto *tab = new QWidget(this);

    auto *numbering = new QGroupBox(QStringLiteral("Sorszámozás"), tab);
    auto *numberingLayout = new QVBoxLayout(numbering);
    const std::pair<const char16_t *, const char *> numberingFlags[] = {
        {u"Új tételnél főszámra kérdez", "vanfoszam"},
        {u"Alszám nem módosítható", "alszamreadonly"},
        {u"Sorszám helyett főszám és a főszám neve", "azhelyettfoszam"},
        {u"Főszám = következő sorszám", "foszamsorszam"},
        {u"Sorszámozás a főképernyőn", "vansorszam"},
        {u"Új év: sorszám 1-ről indul", "mindigegyrolindul"},
        {u"Új év: alszámozás 1-ről indul", "alszamevenkent"},
        {u"Új tételnél munkaszámra kérdez", "vanmunkaszamkerdes"},
        {u"Új tételnél projektre kérdez", "vanprojektkerdes"},
        {u"Új tételnél típusra kérdez", "vantipuskerdes"},
    };
    for (const auto &[caption, column] : numberingFlags)
        numberingLayout->addWidget(flagBox(QString::fromUtf16(caption), QLatin1String(column)));
    numberingLayout->addStretch();

    auto *security = new QGroupBox(QStringLiteral("Biztonság"), tab);
    auto *securityLayout = new QVBoxLayout(security);
    securityLayout->addWidget(flagBox(QStringLiteral("Csoportokra bontás?"), QStringLiteral("vancsoport")));
    securityLayout->addWidget(flagBox(QStringLiteral("Belépésnél jelszót kér"), QStringLiteral("vanbelep")));
    securityLayout->addWidget(flagBox(QStringLiteral("Írásvédett adatbázis"), QStringLiteral("irasvedett")));
    securityLayout->addStretch();

    auto *other = new QGroupBox(QStringLiteral("Egyéb"), tab);
    QFormLayout *form = newForm(other);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    m_printer = new QComboBox(other);
    m_printer->setObjectName(QStringLiteral("Printer"));
    m_printer->setEditable(true);
    form->addRow(QStringLiteral("Alapértelmezett nyomtató"), m_printer);

    auto *groupRow = new QWidget(other);
    auto *groupLayout = new QHBoxLayout(groupRow);
    groupLayout->setContentsMargins(0, 0, 0, 0);
    m_groupName = new QLineEdit(groupRow);
    m_groupName->setObjectName(QStringLiteral("alapcsoport_nev"));
    m_groupName->setReadOnly(true);
    // The row's label sits in the form, not beside the box, so screen readers miss it as a buddy.
    m_groupName->setAccessibleName(QStringLiteral("Alapértelmezett csoport"));
    auto *pick = new QPushButton(QStringLiteral("..."), groupRow);
    pick->setObjectName(QStringLiteral("btn_alapcsoport"));
    pick->setFixedWidth(32);
    pick->setToolTip(QStringLiteral("Csoport"));
    pick->setAccessibleName(QStringLiteral("Csoport"));
    connect(pick, &QPushButton::clicked, this, &SettingsDialog::pickGroup);
    groupLayout->addWidget(m_groupName);
    groupLayout->addWidget(pick);
    form->addRow(QStringLiteral("Ha nincs bontás, az alapértelmezett csoport"), groupRow);
    qobject_cast<QLabel *>(form->labelForField(groupRow))->setBuddy(m_groupName);

    form->addRow(QStringLiteral("Szabad mező a főképernyőn"), columnChoice(QStringLiteral("szabadmezo")));

    m_hatidfigyel = new QSpinBox(other);
    m_hatidfigyel->setObjectName(QStringLiteral("hatidfigyel"));
    m_hatidfigyel->setRange(-9999, 9999);
    connect(m_hatidfigyel, &QSpinBox::valueChanged, this,
            [this](int days) { m_record.setValue(u"hatidfigyel", days); });
    form->addRow(QStringLiteral("Határidő aut. figyelmeztetés"), m_hatidfigyel);

    form->addRow(flagBox(QStringLiteral("Azonnal ment"), QStringLiteral("azonnalment")));
    m_teljesKep = new QCheckBox(QStringLiteral("Megnyitáskor teljes képernyő"), other);
    m_teljesKep->setObjectName(QStringLiteral("TeljesKep"));
    form->addRow(m_teljesKep);
    m_vanFigyu = new QCheckBox(QStringLiteral("Figyelmeztetések megjelenítése indulásrkor"), other);
    m_vanFigyu->setObjectName(QStringLiteral("VanFigyu"));
    form->addRow(m_vanFigyu);

    auto *layout = new QHBoxLayout(tab);
    layout->addWidget(numbering);
    layout->addWidget(security);
    layout->addWidget(other, 1);
    return tab;
}

QWidget *SettingsDialog::documentsTab()
{
    auto *tab = new QWidget(this);

    auto *local = new QGroupBox(QStringLiteral("Saját gépen"), tab);
    QFormLayout *localForm = newForm(local);
    localForm->addRow(QStringLiteral("Lokális útvonal"),
                      folderEdit(QStringLiteral("mentesutvonal"), QStringLiteral("Lokális útvonal")));
    localForm->addRow(flagBox(QStringLiteral("Csoportonként mappába"), QStringLiteral("mentescsoport")));
    localForm->addRow(
        QStringLiteral("File-ok megnyitása innen"),
        folderEdit(QStringLiteral("megnyitasutvonal"), QStringLiteral("File-ok megnyitása innen")));
    localForm->addRow(warningLabel(
        QStringLiteral(
            "*** FIGYELMEZTETÉS: *** \r\nA csoportonként mappába lehetőség utólagos módosításakor a már "
            "létező dokumentumok nem kerülnek átmásolásra, így azok hozzáférhetetlenné válhatnak a "
            "programja számára."),
        local));
    // The folder rows hold an edit and a button; their labels name the edit. Screen
    // readers look for a buddy only beside the box, so the name is given too.
    for (const char *column : {"mentesutvonal", "megnyitasutvonal"}) {
        auto *edit = findChild<QLineEdit *>(QLatin1String(column));
        if (auto *label = qobject_cast<QLabel *>(localForm->labelForField(edit->parentWidget()))) {
            label->setBuddy(edit);
            edit->setAccessibleName(label->text());
        }
    }

    auto *ftp = new QGroupBox(QStringLiteral("FTP"), tab);
    QFormLayout *ftpForm = newForm(ftp);
    ftpForm->addRow(QStringLiteral("Felhasználó"), textEdit(QStringLiteral("ftp_user")));
    QLineEdit *password = textEdit(QStringLiteral("ftp_pwd"));
    password->setEchoMode(QLineEdit::Password);
    ftpForm->addRow(QStringLiteral("Jelszó"), password);
    ftpForm->addRow(QStringLiteral("Kiszolgáló"), textEdit(QStringLiteral("ftp_host")));
    ftpForm->addRow(QStringLiteral("Távoli mappa"), textEdit(QStringLiteral("ftp_mappa")));
    ftpForm->addRow(flagBox(QStringLiteral("FTP feltöltés?"), QStringLiteral("isftp")));

    auto *crypt = new QGroupBox(QStringLiteral("Titkosítás"), tab);
    auto *cryptLayout = new QVBoxLayout(crypt);
    cryptLayout->addWidget(
        flagBox(QStringLiteral("Dokumentumok titkosítása"), QStringLiteral("doksititkosit")));
    cryptLayout->addWidget(warningLabel(
        QStringLiteral(
            "Ha már van dokumentum a rendszerben: NE MÓDOSÍTSA a beállítást, mert dokumentumai "
            "hozzáférhetetlenek lehetnek.\r\nA titkosítás bekapcsolása mellett gondoskodjon az eredeti "
            "dokumentumok megőrzéséről is."),
        crypt));
    cryptLayout->addStretch();

    auto *left = new QVBoxLayout;
    left->addWidget(local);
    left->addWidget(crypt);
    auto *layout = new QHBoxLayout(tab);
    layout->addLayout(left, 3);
    layout->addWidget(ftp, 2, Qt::AlignTop);
    return tab;
}

namespace {

// The first thirteen boxes of both field lists (displayed and copied) name the same fields.
QStringList documentFieldCaptions()
{
    return {QStringLiteral("Csoport"),     QStringLiteral("Kitől"),        QStringLiteral("Kinek"),
            QStringLiteral("Tároló"),      QStringLiteral("Beérkezett"),   QStringLiteral("Határidő"),
            QStringLiteral("Megőrzés"),    QStringLiteral("Intézkedésre"), QStringLiteral("Hivatkozási szám"),
            QStringLiteral("Kulcsszavak"), QStringLiteral("Projekt"),      QStringLiteral("Munkaszám"),
            QStringLiteral("Típus")};
}

} // namespace

QWidget *SettingsDialog::displayedFieldsTab()
{
    auto *tab = new QWidget(this);
    QGroupBox *group = checkGroup(QStringLiteral("Megjelenő adatok"),
                                  documentFieldCaptions() +
                                      QStringList{QStringLiteral("File-ban"), QStringLiteral("File-ban 2."),
                                                  QStringLiteral("File-ban 3."), QStringLiteral("Gyűjtős")},
                                  QStringLiteral("megjeleno"), m_displayed);
    // Shown but not kept: the displayed-fields setting has no position for it.
    auto *otherGrouping = new QCheckBox(QStringLiteral("Egyéb csoportosítás"), group);
    otherGrouping->setObjectName(QStringLiteral("megjeleno_egyebcsop"));
    auto *grid = static_cast<QGridLayout *>(group->layout());
    grid->addWidget(otherGrouping, grid->rowCount() - 1, 2);
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(group);
    layout->addStretch();
    return tab;
}

QWidget *SettingsDialog::listFieldsTab()
{
    auto *tab = new QWidget(this);
    auto *group = new QGroupBox(QStringLiteral("Mezők"), tab);
    auto *form = new QFormLayout(group);
    for (int n = 1; n <= 8; ++n)
        form->addRow(QStringLiteral("%1. mező").arg(n), columnChoice(QStringLiteral("m%1").arg(n)));
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(group);
    layout->addStretch();
    return tab;
}

QWidget *SettingsDialog::captionsTab()
{
    auto *tab = new QWidget(this);
    auto *group = new QGroupBox(QStringLiteral("Módosítható mezők"), tab);
    auto *form = new QFormLayout(group);
    const QString captions[] = {
        QStringLiteral("Munkaszám"), QStringLiteral("Projekt"),
        QStringLiteral("Típus"),     QStringLiteral("Hivatkozási szám"),
        QStringLiteral("Tároló"),    QStringLiteral("Egyéb típus (főképernyőn irányok között)")};
    for (int n = 1; n <= 6; ++n)
        form->addRow(captions[n - 1], textEdit(QStringLiteral("mezo%1").arg(n)));
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(group);
    layout->addStretch();
    return tab;
}

QWidget *SettingsDialog::clipboardTab()
{
    auto *tab = new QWidget(this);
    QGroupBox *group = checkGroup(QStringLiteral("Megjelenő adatok"),
                                  documentFieldCaptions() + QStringList{QStringLiteral("Iktatószám")},
                                  QStringLiteral("masol"), m_clipboard);
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(group);
    layout->addStretch();
    return tab;
}

// ---- the row

void SettingsDialog::loadRow()
{
    const LocalConfig &local = session().local;
    m_teljesKep->setChecked(local.teljesKep);
    m_vanFigyu->setChecked(local.vanFigyu);
    m_printer->addItems(QPrinterInfo::availablePrinterNames());
    m_printer->setEditText(local.printer);

    const Dataset data = db().query(QStringLiteral("SELECT * FROM ") + Table);
    m_newRow = data.isEmpty();
    m_record = EditRecord::fromDataset(data, m_newRow ? -1 : 0);
    m_original = m_record;

    for (QCheckBox *box : std::as_const(m_flagBoxes)) {
        const QSignalBlocker blocker(box);
        box->setChecked(isFlagOn(m_record.value(box->objectName()).toString()));
    }
    for (QLineEdit *edit : std::as_const(m_textEdits)) {
        const QSignalBlocker blocker(edit);
        edit->setText(m_record.value(edit->objectName()).toString());
    }
    for (QComboBox *combo : std::as_const(m_columnChoices)) {
        const QSignalBlocker blocker(combo);
        combo->setEditText(m_record.value(combo->objectName()).toString());
    }
    {
        const QSignalBlocker blocker(m_hatidfigyel);
        m_hatidfigyel->setValue(m_record.isNull(u"hatidfigyel") ? -1
                                                                : m_record.value(u"hatidfigyel").toInt());
    }

    // Proposed, and saved with "OK", when no storage folder is set yet.
    if (m_record.value(u"mentesutvonal").toString().isEmpty())
        findChild<QLineEdit *>(QStringLiteral("mentesutvonal"))
            ->setText(AppFolders::current().documentFolder());

    m_groupName->setText(SelectText(QStringLiteral("SELECT csoport_nev FROM csoport WHERE csoport=") +
                                        SqlInt(m_record.value(u"alapcsoport")) + QStringLiteral(";"),
                                    QString()));

    const QString displayed = LocalConfig::normalizeFlags(m_record.value(u"megjeleno_adatok").toString());
    for (int i = 0; i < m_displayed.size(); ++i)
        m_displayed[i]->setChecked(LocalConfig::isFlagSet(displayed, i));
    for (int i = 0; i < m_clipboard.size(); ++i)
        m_clipboard[i]->setChecked(LocalConfig::isFlagSet(local.masolMezok, i));
}

void SettingsDialog::pickGroup()
{
    if (!groupPicker())
        return;
    const std::optional<std::pair<int, QString>> picked = groupPicker()(this);
    if (!picked)
        return;
    auto *grouping = findChild<QCheckBox *>(QStringLiteral("vancsoport"));
    {
        const QSignalBlocker blocker(grouping);
        grouping->setChecked(false);
    }
    m_record.setValue(u"vancsoport", flagText(false));
    m_record.setValue(u"alapcsoport", picked->first);
    m_groupName->setText(picked->second);
}

void SettingsDialog::accept()
{
    QString displayed;
    for (const QCheckBox *box : std::as_const(m_displayed))
        displayed += flagText(box->isChecked());
    m_record.setValue(u"megjeleno_adatok", displayed);

    LocalConfig &local = session().local;
    QString clipboard = LocalConfig::normalizeFlags(local.masolMezok);
    for (int i = 0; i < m_clipboard.size(); ++i)
        clipboard[i] = flagText(m_clipboard[i]->isChecked()).at(0);
    local.masolMezok = clipboard;
    local.teljesKep = m_teljesKep->isChecked();
    local.vanFigyu = m_vanFigyu->isChecked();
    saveRow();
    local.printer = m_printer->currentText();
    Dialog::accept();
}

// Only the columns the screen changed are written, so values set meanwhile by
// others (the notice acknowledgements) survive.
void SettingsDialog::saveRow()
{
    if (m_newRow) {
        ExecSql(QStringLiteral("INSERT INTO ") + Table + QStringLiteral(" () VALUES ();"));
        m_record.setValue(KeyColumn, qlonglong(db().lastInsertId()));
        m_original.setValue(KeyColumn, m_record.value(KeyColumn));
        m_newRow = false;
    }
    QList<EditField> changed;
    for (int i = 0; i < m_record.fields().size(); ++i) {
        const EditField &field = m_record.fields()[i];
        if (field.name.compare(KeyColumn, Qt::CaseInsensitive) == 0 ||
            !sameValue(field.value, m_original.fields()[i].value))
            changed.append(field);
    }
    if (changed.size() > 1)
        ExecSql(BuildUpdateStatement(EditRecord(changed), Table, KeyColumn));
    m_original = m_record;
}
