#include "register/ui/DocumentEditor.h"

#include "common/Numbers.h"
#include "common/SqlText.h"
#include "common/Text.h"
#include "common/ui/DbWidgets.h"
#include "common/ui/MessageBox.h"
#include "core/Rights.h"
#include "core/Session.h"
#include "core/ui/ErrorHandler.h"
#include "db/DbHelpers.h"
#include "db/ui/DatasetModel.h"
#include "masterdata/ui/Pickers.h"
#include "register/OnlineStore.h"
#include "register/ui/EditorHooks.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {

const char *const TagProperty = "korvenaTag";
// An empty date box stands on this date, shown as blank.
const QDate NoDate(1900, 1, 1);
const int RemarkLength = 1024;

QString action(const char *name)
{
    return QString(DocumentEditor::ObjectName) + QLatin1Char('.') + QLatin1String(name);
}

void tag(int n, std::initializer_list<QWidget *> widgets)
{
    for (QWidget *w : widgets)
        w->setProperty(TagProperty, n);
}

QLineEdit *nameBox()
{
    auto *box = new QLineEdit;
    box->setReadOnly(true);
    return box;
}

QDateEdit *dateBox()
{
    auto *box = new QDateEdit;
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    box->setMinimumDate(NoDate);
    box->setSpecialValueText(QStringLiteral(" "));
    return box;
}

void setDateBox(QDateEdit *box, const QVariant &value)
{
    const QDate d = VarToDate(value);
    box->setDate(d.isValid() ? d : NoDate);
}

QDate dateOf(const QDateEdit *box)
{
    return box->date() == NoDate ? QDate() : box->date();
}

QString clientName(int key)
{
    return key > 0 ? SelectText(QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE ugyfel=") +
                                    QString::number(key) + QLatin1Char(';'),
                                QString())
                   : QString();
}

QString groupName(int key)
{
    return key > 0 ? SelectText(QStringLiteral("SELECT csoport_nev FROM csoport WHERE csoport=") +
                                    QString::number(key) + QLatin1Char(';'),
                                QString())
                   : QString();
}

bool countsAsLeaving(const QEvent *event)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

// ---- pickers

DocumentPickers DocumentPickers::standard()
{
    DocumentPickers p;
    p.group = [](QWidget *parent) { return GroupPicker(parent); };
    p.client = [](QWidget *parent, int initialKey, ClientKind kind, const QString &title) {
        const PickResult r = ClientPicker(parent, initialKey, kind, true, title);
        return DocumentChoice{r.key, r.name};
    };
    p.mainNumber = [](QWidget *parent, int initialKey) {
        const PickResult r = MainNumberPicker(parent, initialKey, true);
        return DocumentChoice{r.key, r.name};
    };
    p.masterData = [](QWidget *parent, int initialKey, MasterTable::Caller caller) {
        const PickResult r = MasterDataPicker(parent, initialKey, caller);
        return DocumentChoice{r.key, r.name};
    };
    return p;
}

DocumentPickers &documentPickers()
{
    static DocumentPickers pickers = DocumentPickers::standard();
    return pickers;
}

qint64 OpenDocumentEditor(QWidget *parent, qint64 key, int direction)
{
    DocumentEdit edit;
    if (key < 0) {
        const DocumentPickers &p = documentPickers();
        RegistrationQuestions q;
        q.group = [&] { return p.group(parent); };
        q.client = [&](ClientKind kind, const QString &title) {
            return p.client(parent, -1, kind, title).key;
        };
        q.mainNumber = [&] { return p.mainNumber(parent, 0).key; };
        q.masterData = [&](MasterTable::Caller caller) { return p.masterData(parent, -1, caller); };
        const auto answers = DocumentRegistration::ask(session().settings, direction, q);
        if (!answers)
            return -1;
        edit = DocumentEdit::create(*answers, direction, session().user.code);
    } else {
        edit = DocumentEdit::open(key);
    }
    DocumentEditor editor(parent, std::move(edit));
    if (editor.exec() != QDialog::Accepted)
        return -1;
    const qint64 saved = editor.edit().key();
    if (editor.sendToStoreRequested() && editorHooks().sendToOnlineStore)
        editorHooks().sendToOnlineStore(parent, saved);
    return saved;
}

// ---- screen

DocumentEditor::DocumentEditor(QWidget *parent, DocumentEdit edit)
    : Dialog(parent, QString(ObjectName)), m_edit(std::move(edit))
{
    setWindowTitle(QStringLiteral("Szerkesztés"));
    m_pages = new QTabWidget;
    m_pages->addTab(withButtons(buildDataPage()), QStringLiteral("Adatok"));
    m_pages->addTab(withButtons(buildRemarkPage()), QStringLiteral("Megjegyzés"));
    m_pages->addTab(withButtons(buildCopiesPage()), QStringLiteral("Másolatok"));
    m_pages->addTab(withButtons(buildAttachmentsPage(), &m_attachmentsCancel),
                    QStringLiteral("Csatolt dokumentumok"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);

    applyVisibility();
    FillCombo(m_storage, QStringLiteral("SELECT DISTINCT tarolo FROM iktato ORDER BY 1;"), QString());
    openCopies();
    applySettings();
    loadControls();
}

QToolButton *DocumentEditor::pictureButton(const QString &name, const QString &hint)
{
    auto *b = new QToolButton;
    b->setObjectName(name);
    b->setText(QStringLiteral("…"));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    // Reached by the mouse or the key that opens the picker; Tab goes from field to field.
    b->setFocusPolicy(Qt::NoFocus);
    m_pictureButtons << b;
    return b;
}

QWidget *DocumentEditor::buildDataPage()
{
    auto *page = new QWidget;
    auto *g = new QGridLayout(page);
    int row = 0;
    auto label = [](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text);
        l->setBuddy(buddy);
        return l;
    };
    // A name box with its picker button on one row.
    auto pickerRow = [&](QLabel *l, QLineEdit *box, QToolButton *button) {
        // The button takes no focus: F4 in the box opens its picker.
        m_pickerOf.insert(box, button);
        box->installEventFilter(this);
        auto *h = new QHBoxLayout;
        h->addWidget(box, 1);
        h->addWidget(button);
        g->addWidget(l, row, 0);
        g->addLayout(h, row, 1, 1, 3);
        ++row;
    };

    // Iktató, Főszám, Alszám
    m_iktato2 = new QLineEdit;
    m_iktato2->setObjectName(QStringLiteral("iktato2"));
    m_iktato2->setReadOnly(true);
    m_iktato2->setFocusPolicy(Qt::NoFocus);
    QFont bold = m_iktato2->font();
    bold.setBold(true);
    m_iktato2->setFont(bold);
    m_az1 = new QLineEdit;
    m_az1->setObjectName(QStringLiteral("az1"));
    m_mainNumberButton = pictureButton(QStringLiteral("btnFoszam"), QStringLiteral("Főszám választás"));
    m_az2 = new QLineEdit;
    m_az2->setObjectName(QStringLiteral("az2"));
    // Digits only: anything else would be read silently as another number.
    for (QLineEdit *box : {m_az1, m_az2})
        box->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), box));
    m_quickCommit = pictureButton(QStringLiteral("btnAzonnalMent"), QStringLiteral("Rögzítés"));
    {
        auto *h = new QHBoxLayout;
        h->addWidget(m_iktato2);
        h->addWidget(label(QStringLiteral("Főszám"), m_az1));
        h->addWidget(m_az1);
        h->addWidget(m_mainNumberButton);
        h->addWidget(label(QStringLiteral("Alszám"), m_az2));
        h->addWidget(m_az2);
        h->addWidget(m_quickCommit);
        g->addWidget(label(QStringLiteral("Iktató"), m_iktato2), row, 0);
        g->addLayout(h, row++, 1, 1, 3);
    }

    m_subject = new QComboBox;
    m_subject->setObjectName(QStringLiteral("targy"));
    m_subject->setEditable(true);
    m_subject->setInsertPolicy(QComboBox::NoInsert);
    m_subject->lineEdit()->setMaxLength(255);
    m_subject->setMinimumWidth(420);
    g->addWidget(label(QStringLiteral("Tárgy"), m_subject), row, 0);
    g->addWidget(m_subject, row++, 1, 1, 3);

    struct PickerRow
    {
        QLineEdit **box;
        const char *name;
        const char *caption;
        int tag;
    };
    const PickerRow clients[] = {
        {&m_from, "ugyf_kitol", "Kitől", 2},
        {&m_to, "ugyf_hova", "Kinek", 3},
        {&m_forAction, "ugyf_intezkedesre", "Intézkedésre", 8},
    };
    for (int i = 0; i < 3; ++i) {
        const PickerRow &c = clients[i];
        *c.box = nameBox();
        (*c.box)->setObjectName(QLatin1String(c.name));
        const QString caption = QLatin1String(c.caption);
        QToolButton *b = pictureButton(QStringLiteral("btn_") + QLatin1String(c.name), caption);
        QLabel *l = label(caption, *c.box);
        tag(c.tag, {l, *c.box, b});
        QLineEdit *box = *c.box;
        const QString column = QLatin1String(c.name);
        connect(b, &QToolButton::clicked, this,
                guarded(action("btnUgyfel"), [this, column, box, i] { pickClient(column, box, i); }));
        pickerRow(l, box, b);
    }

    m_group = nameBox();
    m_group->setObjectName(QStringLiteral("csoport"));
    {
        QToolButton *b = pictureButton(QStringLiteral("btn_csoport"), QStringLiteral("Csoport"));
        QLabel *l = label(QStringLiteral("Csoport"), m_group);
        tag(1, {l, m_group, b});
        connect(b, &QToolButton::clicked, this, guarded(action("btnCsoport"), [this] { pickGroup(); }));
        pickerRow(l, m_group, b);
    }

    m_direction = new QButtonGroup(this);
    {
        auto *h = new QHBoxLayout;
        for (int i = 0; i < 3; ++i) {
            auto *r = new QRadioButton;
            m_direction->addButton(r, i);
            m_directionChoices << r;
            h->addWidget(r);
        }
        h->addStretch();
        auto *l = new QLabel(QStringLiteral("Irány"));
        l->setBuddy(m_directionChoices.first());
        g->addWidget(l, row, 0);
        g->addLayout(h, row++, 1, 1, 3);
    }

    m_storage = new QComboBox;
    m_storage->setObjectName(QStringLiteral("tarolo"));
    m_storage->setEditable(true);
    m_storage->setInsertPolicy(QComboBox::NoInsert);
    m_storage->lineEdit()->setMaxLength(50);
    m_storageLabel = label(QString(), m_storage);
    tag(4, {m_storageLabel, m_storage});
    g->addWidget(m_storageLabel, row, 0);
    g->addWidget(m_storage, row++, 1, 1, 3);

    m_arrival = dateBox();
    m_arrival->setObjectName(QStringLiteral("dat_erk"));
    m_deadline = dateBox();
    m_deadline->setObjectName(QStringLiteral("dat_hatid"));
    m_retention = dateBox();
    m_retention->setObjectName(QStringLiteral("dat_megorzes"));
    {
        auto *h = new QHBoxLayout;
        QLabel *arrival = label(QStringLiteral("Beérkezett"), m_arrival);
        QLabel *deadline = label(QStringLiteral("Határidő"), m_deadline);
        QLabel *retention = label(QStringLiteral("Megőrzés"), m_retention);
        tag(5, {arrival, m_arrival});
        tag(6, {deadline, m_deadline});
        tag(7, {retention, m_retention});
        for (QWidget *w : {static_cast<QWidget *>(arrival), static_cast<QWidget *>(m_arrival),
                           static_cast<QWidget *>(deadline), static_cast<QWidget *>(m_deadline),
                           static_cast<QWidget *>(retention), static_cast<QWidget *>(m_retention)})
            h->addWidget(w);
        h->addStretch();
        g->addLayout(h, row++, 0, 1, 4);
    }

    m_reference = new QLineEdit;
    m_reference->setObjectName(QStringLiteral("hivszam"));
    m_reference->setMaxLength(50);
    m_referenceLabel = label(QString(), m_reference);
    g->addWidget(m_referenceLabel, row, 0);
    g->addWidget(m_reference, row++, 1, 1, 3);

    struct MasterRow
    {
        QLineEdit **box;
        QLabel **label;
        const char *column;
        MasterTable::Caller caller;
        int boxTag;
        int buttonTag;
    };
    QLabel *otherGroupLabel = nullptr;
    const MasterRow masters[] = {
        {&m_project, &m_projectLabel, "projekt", MasterTable::Caller::EditorProject, 11, 11},
        {&m_otherGroup, &otherGroupLabel, "egyebcsop", MasterTable::Caller::EditorOtherGroup, 11, 8},
        {&m_workNumber, &m_workNumberLabel, "munkaszam", MasterTable::Caller::EditorWorkNumber, 12, 12},
        {&m_type, &m_typeLabel, "tipus", MasterTable::Caller::EditorType, 13, 13},
    };
    for (const MasterRow &m : masters) {
        *m.box = nameBox();
        const QString column = QLatin1String(m.column);
        (*m.box)->setObjectName(column);
        *m.label =
            label(m.caller == MasterTable::Caller::EditorOtherGroup ? QStringLiteral("Egyéb csoportosítás")
                                                                    : QString(),
                  *m.box);
        QToolButton *b = pictureButton(QStringLiteral("btn_") + column, column);
        tag(m.buttonTag, {*m.label, b});
        tag(m.boxTag, {*m.box});
        QLineEdit *box = *m.box;
        const MasterTable::Caller caller = m.caller;
        connect(b, &QToolButton::clicked, this, guarded(action("btnTorzs"), [this, caller, column, box] {
                    pickMaster(caller, column, box);
                }));
        pickerRow(*m.label, box, b);
    }

    m_keywords = new QLineEdit;
    m_keywords->setObjectName(QStringLiteral("kulcsszavak"));
    m_keywords->setMaxLength(100);
    {
        QLabel *l = label(QStringLiteral("Kulcsszavak (kereséshez)"), m_keywords);
        tag(10, {l, m_keywords});
        g->addWidget(l, row, 0);
        g->addWidget(m_keywords, row++, 1, 1, 3);
    }

    m_storeButton = new QPushButton(QStringLiteral("Sorvikaba..."));
    m_storeButton->setObjectName(QStringLiteral("btnSorvika"));
    connect(m_storeButton, &QPushButton::clicked, this,
            guarded(action("btnSorvika"), [this] { sendToStore(); }));
    g->addWidget(m_storeButton, row++, 3, Qt::AlignRight);
    g->setColumnStretch(1, 1);

    connect(m_mainNumberButton, &QToolButton::clicked, this,
            guarded(action("btnFoszam"), [this] { pickMainNumber(); }));
    connect(m_quickCommit, &QToolButton::clicked, this,
            guarded(action("btnAzonnalMent"), [this] { quickCommit(); }));

    track(m_az1, QStringLiteral("az1"));
    track(m_az2, QStringLiteral("az2"));
    track(m_reference, QStringLiteral("hivszam"));
    track(m_subject->lineEdit(), QStringLiteral("targy"));
    track(m_storage->lineEdit(), QStringLiteral("tarolo"));
    track(m_keywords, QStringLiteral("kulcsszavak"));
    m_az1->installEventFilter(this);
    UppercaseFirstKey(m_subject->lineEdit());
    return page;
}

QWidget *DocumentEditor::buildRemarkPage()
{
    m_remark = new QPlainTextEdit;
    m_remark->setObjectName(QStringLiteral("megjegyzes"));
    // The page's tab names it for the eye; screen readers need it on the box.
    m_remark->setAccessibleName(QStringLiteral("Megjegyzés"));
    m_remark->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    keepEnterKey(m_remark);
    return m_remark;
}

QWidget *DocumentEditor::buildCopiesPage()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    auto *bar = new QToolBar;
    m_addCopy = new QAction(QStringLiteral("Új sor"), page);
    m_addCopy->setObjectName(QStringLiteral("aUjMasolat"));
    m_addCopy->setShortcut(QKeySequence(Qt::Key_Insert));
    m_deleteCopy = new QAction(QStringLiteral("Sor törlése"), page);
    m_deleteCopy->setObjectName(QStringLiteral("aTorolMasolat"));
    m_deleteCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    for (QAction *a : {m_addCopy, m_deleteCopy}) {
        // Only while the copies page shows.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        page->addAction(a);
        bar->addAction(a);
    }
    connect(m_addCopy, &QAction::triggered, this, guarded(action("aUjMasolat"), [this] { addCopy(); }));
    connect(m_deleteCopy, &QAction::triggered, this,
            guarded(action("aTorolMasolat"), [this] { deleteCopy(); }));

    m_copies = new QTableView;
    m_copies->setObjectName(QStringLiteral("masolatok"));
    m_copies->setAccessibleName(QStringLiteral("Másolatok"));
    m_copiesModel = new DatasetModel(m_copies);
    m_copies->setModel(m_copiesModel);
    m_copies->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_copies->setSelectionMode(QAbstractItemView::SingleSelection);
    m_copies->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_copies->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_copies->addActions({m_addCopy, m_deleteCopy});
    keepEnterKey(m_copies);
    v->addWidget(bar);
    v->addWidget(m_copies);
    return page;
}

QWidget *DocumentEditor::buildAttachmentsPage()
{
    if (editorHooks().attachmentsPage)
        return editorHooks().attachmentsPage(
            this, m_edit.key(), [this] { return int(VarToInt(m_edit.record().value(u"csoport"))); },
            isWriteProtected());
    return new QWidget;
}

QWidget *DocumentEditor::withButtons(QWidget *content, QPushButton **cancel)
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->addWidget(content, 1);
    auto *h = new QHBoxLayout;
    h->addStretch();
    auto *ok = new QPushButton(QStringLiteral("OK"));
    auto *no = new QPushButton(QStringLiteral("Mégsem"));
    ok->setAutoDefault(false);
    no->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] { accept(); });
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    h->addWidget(ok);
    h->addWidget(no);
    v->addLayout(h);
    m_okButtons << ok;
    if (cancel)
        *cancel = no;
    return page;
}

void DocumentEditor::applyVisibility()
{
    const QString shown = session().settings.megjelenoAdatok.leftJustified(17, QLatin1Char(' '));
    for (QWidget *w : findChildren<QWidget *>()) {
        const int n = w->property(TagProperty).toInt();
        if (n >= 1 && n <= 17 && shown.at(n - 1) != QLatin1Char('I'))
            w->setVisible(false);
    }
}

void DocumentEditor::applySettings()
{
    const ProgramSettings &s = session().settings;
    if (s.alszamreadonly) {
        m_az2->setReadOnly(true);
        m_az2->setFocusPolicy(Qt::NoFocus);
        QPalette p = m_az2->palette();
        p.setColor(QPalette::Base, palette().color(QPalette::Window));
        m_az2->setPalette(p);
    }
    if (!s.azonnalment) {
        m_quickCommit->setVisible(false);
        m_az2->setFixedWidth(109);
    }
    m_workNumberLabel->setText(s.mezo1);
    m_projectLabel->setText(s.mezo2);
    m_typeLabel->setText(s.mezo3);
    m_referenceLabel->setText(s.mezo4);
    m_storageLabel->setText(s.mezo5);
    m_directionChoices[0]->setText(QStringLiteral("Bejövő"));
    m_directionChoices[1]->setText(QStringLiteral("Kimenő"));
    m_directionChoices[2]->setText(s.mezo6);
    m_subject->addItems(session().subjects);

    if (isWriteProtected()) {
        for (QPushButton *b : std::as_const(m_okButtons))
            b->setEnabled(false);
        if (m_attachmentsCancel)
            m_attachmentsCancel->setEnabled(false);
        for (QToolButton *b : std::as_const(m_pictureButtons))
            b->setEnabled(false);
        m_storeButton->setEnabled(false);
        m_addCopy->setEnabled(false);
        m_deleteCopy->setEnabled(false);
    }
}

void DocumentEditor::loadControls()
{
    const EditRecord &r = m_edit.record();
    m_iktato2->setText(IsNullValue(r.value(u"iktato2"))
                           ? QString()
                           : PadNumber(VarToInt(r.value(u"iktato2")), 6, QLatin1Char('0')));
    m_az1->setText(VarToText(r.value(u"az1")));
    m_az2->setText(VarToText(r.value(u"az2")));
    m_subject->setCurrentText(VarToText(r.value(u"targy")));
    m_storage->setCurrentText(VarToText(r.value(u"tarolo")));
    m_reference->setText(VarToText(r.value(u"hivszam")));
    m_keywords->setText(VarToText(r.value(u"kulcsszavak")));
    m_remark->setPlainText(VarToText(r.value(u"megjegyzes")));
    setDateBox(m_arrival, r.value(u"dat_erk"));
    setDateBox(m_deadline, r.value(u"dat_hatid"));
    setDateBox(m_retention, r.value(u"dat_megorzes"));
    if (QAbstractButton *b = m_direction->button(VarToInt(r.value(u"irany"), -1)))
        b->setChecked(true);
    m_project->setText(VarToText(r.value(u"projekt_nev")));
    m_workNumber->setText(VarToText(r.value(u"munkaszam_nev")));
    m_type->setText(VarToText(r.value(u"tipus_nev")));
    m_otherGroup->setText(VarToText(r.value(u"egyebcsop_nev")));
}

void DocumentEditor::showNames()
{
    const EditRecord &r = m_edit.record();
    m_from->setText(clientName(VarToInt(r.value(u"ugyf_kitol"))));
    m_to->setText(clientName(VarToInt(r.value(u"ugyf_hova"))));
    m_forAction->setText(clientName(VarToInt(r.value(u"ugyf_intezkedesre"))));
    m_group->setText(groupName(VarToInt(r.value(u"csoport"))));
}

void DocumentEditor::showEvent(QShowEvent *event)
{
    Dialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // Not an action of its own: the one that opened the editor stays the last action.
    runGuarded(QString(), [this] { showNames(); });
    m_az1->setFocus();
    // The values just loaded are not changes.
    QTimer::singleShot(100, this, [this] { m_tracking = true; });
}

void DocumentEditor::track(QLineEdit *box, const QString &column)
{
    connect(box, &QLineEdit::textChanged, this, [this, column](const QString &text) {
        if (m_tracking)
            m_edit.setPending(column, text);
    });
    // An editable list box takes the focus events of its line edit itself.
    QWidget *owner = qobject_cast<QComboBox *>(box->parentWidget()) ? box->parentWidget() : box;
    owner->installEventFilter(this);
    owner->setProperty("korvenaTracked", true);
}

bool DocumentEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F4 &&
        static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
        QToolButton *button = watched == m_az1 ? m_mainNumberButton : m_pickerOf.value(watched);
        if (button && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    // The keys typed into "Tárgy" reach the list box, which hands them to its line edit
    // past that one's filters.
    if (watched == m_subject && event->type() == QEvent::KeyPress &&
        m_subject->lineEdit()->text().isEmpty()) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (typed.size() == 1 && typed.at(0).isLower()) {
            m_subject->lineEdit()->insert(typed.toUpper());
            return true;
        }
    }
    if (watched == m_az1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool moves =
            key->key() == Qt::Key_Tab || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (moves && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            TextToInt(m_az1->text()) != 0) {
            const ProgramSettings &s = session().settings;
            QWidget *next = !s.alszamreadonly ? static_cast<QWidget *>(m_az2)
                            : s.azonnalment   ? static_cast<QWidget *>(m_quickCommit)
                                              : static_cast<QWidget *>(m_subject);
            // Leaving the box numbers the document first, as any other way out does.
            next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut && watched->property("korvenaTracked").toBool() &&
        countsAsLeaving(event)) {
        m_edit.flushPending();
        if (watched == m_az1)
            runGuarded(action("edtAz1Exit"), [this] { leaveMainNumber(); });
    }
    return Dialog::eventFilter(watched, event);
}

void DocumentEditor::leaveMainNumber()
{
    if (!m_az2->text().trimmed().isEmpty())
        return;
    m_az2->setText(QString::number(DocumentEdit::nextSubNumber(TextToInt(m_az1->text()))));
}

void DocumentEditor::focusAfter(QWidget *widget)
{
    for (QWidget *w = widget->nextInFocusChain(); w && w != widget; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() && w->window() == this) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void DocumentEditor::pickMainNumber()
{
    const DocumentChoice c = documentPickers().mainNumber(this, TextToInt(m_az1->text()));
    if (c.picked())
        m_az1->setText(QString::number(c.key));
    m_az2->setText(QString::number(DocumentEdit::nextSubNumber(TextToInt(m_az1->text()))));
    focusAfter(m_mainNumberButton);
}

void DocumentEditor::quickCommit()
{
    controlsToRecord();
    m_subject->setFocus(Qt::OtherFocusReason);
}

void DocumentEditor::pickClient(const QString &column, QLineEdit *nameBox, int which)
{
    // The direction chosen on the screen, which may not be in the record yet.
    const int direction = m_direction->checkedId() >= 0 ? m_direction->checkedId()
                                                        : int(VarToInt(m_edit.record().value(u"irany")));
    const DocumentRegistration::ClientKinds kinds = DocumentRegistration::editorKinds(direction);
    const ClientKind kind = which == 0 ? kinds.from : which == 1 ? kinds.to : ClientKind::Internal;
    const DocumentChoice c = documentPickers().client(this, VarToInt(m_edit.record().value(column), -1), kind,
                                                      QStringLiteral("Ügyfél választás"));
    if (c.picked()) {
        m_edit.choose(column, c.key, c.name);
        nameBox->setText(c.name);
    }
    focusAfter(nameBox);
}

void DocumentEditor::pickMaster(MasterTable::Caller caller, const QString &column, QLineEdit *nameBox)
{
    const DocumentChoice c =
        documentPickers().masterData(this, VarToInt(m_edit.record().value(column), -1), caller);
    if (c.picked()) {
        m_edit.choose(column, c.key, c.name, column + QStringLiteral("_nev"));
        nameBox->setText(c.name);
    }
    focusAfter(nameBox);
}

void DocumentEditor::pickGroup()
{
    const int group = documentPickers().group(this);
    if (group > 0) {
        const QString name = groupName(group);
        m_edit.changeGroup(group, name);
        m_group->setText(name);
    }
    focusAfter(m_group);
}

void DocumentEditor::sendToStore()
{
    if (!editorHooks().sendToOnlineStore || isWriteProtected())
        return;
    // Asked before anything is saved: a refused hand-over leaves the screen as it was.
    const EditRecord &r = m_edit.record();
    const QString refused =
        OnlineStore::refusal(VarToText(r.value(u"filenev")), VarToInt(r.value(u"ugyf_intezkedesre"), 0));
    if (!refused.isEmpty()) {
        ShowError(refused);
        return;
    }
    m_sendToStore = true;
    accept();
    if (result() != QDialog::Accepted)
        m_sendToStore = false;
}

// ---- copies

void DocumentEditor::openCopies()
{
    QStringList lines = {QStringLiteral("SELECT"),
                         QStringLiteral(" masolat.*,"),
                         QStringLiteral(" ugyfel.ugyfel_nev,"),
                         QStringLiteral(" DATE_FORMAT(masolat.rogzitve, '%Y.%m.%d') datum"),
                         QStringLiteral("FROM masolat"),
                         QStringLiteral(" INNER JOIN ugyfel ON (masolat.ugyfel=ugyfel.ugyfel)"),
                         QStringLiteral("WHERE"),
                         QStringLiteral("ORDER BY 1;")};
    const QString sql = SetWhere(lines, QStringLiteral("iktato=") + QString::number(m_edit.key()));
    Dataset data = db().query(sql);
    for (Field &f : data.fields()) {
        f.visible = f.name == QLatin1String("ugyfel_nev") || f.name == QLatin1String("datum");
        if (f.name == QLatin1String("ugyfel_nev"))
            f.label = QStringLiteral("Kinél");
        else if (f.name == QLatin1String("datum"))
            f.label = QStringLiteral("Dátum");
    }
    m_copiesModel->setDataset(std::move(data));
    const Dataset &d = m_copiesModel->dataset();
    for (int c = 0; c < d.fieldCount(); ++c) {
        m_copies->setColumnHidden(c, !d.field(c).visible);
        if (d.field(c).name == QLatin1String("ugyfel_nev"))
            m_copies->setColumnWidth(c, 276);
        else if (d.field(c).name == QLatin1String("datum"))
            m_copies->setColumnWidth(c, 122);
    }
}

void DocumentEditor::addCopy()
{
    if (isWriteProtected())
        return;
    const DocumentChoice c =
        documentPickers().client(this, -1, ClientKind::Internal, QStringLiteral("Ügyfél választás"));
    if (!c.picked())
        return;
    ExecSql(QStringLiteral("INSERT IGNORE INTO masolat (iktato,ugyfel) VALUES (") +
            QString::number(m_edit.key()) + QLatin1Char(',') + QString::number(c.key) + QStringLiteral(");"));
    openCopies();
}

void DocumentEditor::deleteCopy()
{
    if (isWriteProtected())
        return;
    const QModelIndex current = m_copies->currentIndex();
    const Dataset &d = m_copiesModel->dataset();
    if (!current.isValid() || d.isEmpty())
        return;
    const int row = m_copiesModel->datasetRow(current.row());
    const qint64 client = d.toInt(row, d.requireField(u"ugyfel"));
    if (!AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés")))
        return;
    ExecSql(QStringLiteral("DELETE FROM masolat WHERE (ugyfel=") + QString::number(client) +
            QStringLiteral(") AND (iktato=") + QString::number(m_edit.key()) + QStringLiteral(");"));
    openCopies();
}

// ---- closing

void DocumentEditor::controlsToRecord()
{
    EditRecord &r = m_edit.record();
    m_edit.setNumberText(QStringLiteral("az1"), m_az1->text());
    m_edit.setNumberText(QStringLiteral("az2"), m_az2->text());
    r.setBoxText(u"targy", m_subject->currentText());
    r.setBoxText(u"tarolo", m_storage->currentText());
    r.setBoxText(u"hivszam", m_reference->text());
    r.setBoxText(u"kulcsszavak", m_keywords->text());
    r.setBoxText(u"megjegyzes", m_remark->toPlainText());
    const int direction = m_direction->checkedId();
    if (direction >= 0 && VarToInt(r.value(u"irany"), -1) != direction)
        r.setValue(u"irany", direction);
    const struct
    {
        const char16_t *column;
        QDateEdit *box;
    } dates[] = {{u"dat_erk", m_arrival}, {u"dat_hatid", m_deadline}, {u"dat_megorzes", m_retention}};
    for (const auto &d : dates) {
        const QDate date = dateOf(d.box);
        if (VarToDate(r.value(d.column)) != date)
            r.setValue(d.column, date.isValid() ? QVariant(date) : QVariant());
    }
}

bool DocumentEditor::save()
{
    m_edit.flushPending();
    controlsToRecord();
    const QString refusal = m_edit.refusal();
    if (!refusal.isEmpty()) {
        ShowWarning(refusal);
        if (m_edit.record().isNull(u"dat_erk")) {
            m_pages->setCurrentIndex(0);
            m_arrival->setFocus();
        }
        return false;
    }
    if (m_remark->toPlainText().size() > RemarkLength) {
        ShowWarning(QStringLiteral("A megjegyzés legfeljebb %1 karakter lehet.").arg(RemarkLength));
        m_pages->setCurrentIndex(1);
        return false;
    }
    m_edit.save();
    return true;
}

void DocumentEditor::accept()
{
    // A write-protected register saves nothing, not even by Ctrl+Enter.
    if (isWriteProtected())
        return;
    bool saved = false;
    runGuarded(action("OK"), [this, &saved] { saved = save(); });
    if (saved)
        Dialog::accept();
}
