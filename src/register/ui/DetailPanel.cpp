#include "register/ui/DetailPanel.h"

#include "common/Text.h"
#include "db/DbHelpers.h"
#include "core/ProgramSettings.h"
#include "db/ui/DatasetModel.h"
#include "register/DocumentListQuery.h"
#include "core/ui/ListScreen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Value labels are named after their field: "val" + field.
const char *const FieldProperty = "korvenaField";

} // namespace

DetailPanel::DetailPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlReszletek"));

    m_reminder = new QGroupBox(QStringLiteral("Figyelmeztetés"), this);
    m_reminder->setObjectName(QStringLiteral("gbFigyelmeztetes"));
    m_reminderDate = new QLabel(m_reminder);
    m_reminderDate->setObjectName(QStringLiteral("valdat_figy"));
    m_reminderDate->setProperty(FieldProperty, QStringLiteral("dat_figy"));
    m_reminderText = new QLabel(m_reminder);
    m_reminderText->setObjectName(QStringLiteral("valfigy_szoveg"));
    m_reminderText->setProperty(FieldProperty, QStringLiteral("figy_szoveg"));
    m_reminderText->setWordWrap(true);
    m_reminderText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *reminderLayout = new QVBoxLayout(m_reminder);
    reminderLayout->addWidget(m_reminderDate);
    reminderLayout->addWidget(m_reminderText, 1);
    m_reminder->setFixedWidth(170);

    auto *values = new QGridLayout;
    values->setHorizontalSpacing(6);
    values->setVerticalSpacing(2);
    QLabel *id = addPair(values, 0, 0, QStringLiteral("iktatoaz"), QStringLiteral("Azonosító"));
    QFont idFont = id->font();
    idFont.setBold(true);
    idFont.setPointSizeF(idFont.pointSizeF() * 1.25);
    id->setFont(idFont);
    addPair(values, 1, 0, QStringLiteral("ugyf_kitol_nev"), QStringLiteral("Kitől"));
    addPair(values, 2, 0, QStringLiteral("ugyf_kinek_nev"), QStringLiteral("Kinek"));
    addPair(values, 3, 0, QStringLiteral("ugyf_intezkedesre_nev"), QStringLiteral("Intézkedésre"));
    addPair(values, 4, 0, QStringLiteral("projekt_nev"), QStringLiteral("Projekt"));
    m_projectCaption = qobject_cast<QLabel *>(values->itemAtPosition(4, 0)->widget());

    addPair(values, 0, 2, QStringLiteral("targy"), QStringLiteral("Tárgy"))->setWordWrap(true);
    addPair(values, 1, 2, QStringLiteral("dat_erk"), QStringLiteral("Beérk"));
    addPair(values, 2, 2, QStringLiteral("dat_hatid"), QStringLiteral("Hatid."));
    addPair(values, 3, 2, QStringLiteral("dat_megorzes"), QStringLiteral("Megőrzés"));
    addPair(values, 4, 2, QStringLiteral("munkaszam_nev"), QStringLiteral("Munkaszám"));
    m_workCaption = qobject_cast<QLabel *>(values->itemAtPosition(4, 2)->widget());

    const int wideFrom = values->count();
    addPair(values, 0, 4, QStringLiteral("hivszam"), QStringLiteral("Hiv.szám"));
    m_refCaption = qobject_cast<QLabel *>(values->itemAtPosition(0, 4)->widget());
    addPair(values, 1, 4, QStringLiteral("tipus_nev"), QStringLiteral("Típus"));
    m_typeCaption = qobject_cast<QLabel *>(values->itemAtPosition(1, 4)->widget());
    addPair(values, 2, 4, QStringLiteral("kolcsonadva_dat"), QStringLiteral("Kiadva"));
    auto *lentTo = new QLabel(this);
    lentTo->setObjectName(QStringLiteral("valkolcsonadva_kinek"));
    lentTo->setProperty(FieldProperty, QStringLiteral("kolcsonadva_kinek"));
    values->addWidget(lentTo, 3, 5);
    for (int i = wideFrom; i < values->count(); ++i)
        m_wideOnly << values->itemAt(i)->widget();
    values->setColumnStretch(1, 3);
    values->setColumnStretch(3, 3);
    values->setColumnStretch(5, 2);

    m_fileModel = new DatasetModel(this);
    m_files = new QTableView(this);
    m_files->setObjectName(QStringLiteral("grdFile"));
    m_files->setAccessibleName(QStringLiteral("Csatolt file-ok"));
    m_files->setModel(m_fileModel);
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_files->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    m_files->verticalHeader()->setFixedWidth(12);
    FitRowHeightToFont(m_files, 4);
    m_files->setFixedWidth(225 + 12 + 2 * m_files->frameWidth() + 18);
    m_files->setContextMenuPolicy(Qt::CustomContextMenu);

    m_passage = new QLabel(this);
    m_passage->setObjectName(QStringLiteral("valSzovegResz"));
    m_passage->setAccessibleName(QStringLiteral("Találat a csatolt állomány szövegében"));
    m_passage->setWordWrap(true);
    m_passage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_passage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_passage->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_passage->hide();
    auto *middle = new QVBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->addLayout(values);
    middle->addWidget(m_passage, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_reminder);
    layout->addLayout(middle, 1);
    layout->addWidget(m_files);
    setPassageArea(false);
    // Subjects, names and captions are the users' text: a "<b>" in them is shown, not obeyed.
    for (QLabel *label : findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
}

QLabel *DetailPanel::addPair(QGridLayout *grid, int row, int column, const QString &field,
                             const QString &caption)
{
    auto *title = new QLabel(caption, this);
    title->setObjectName(QStringLiteral("lbl") + field);
    title->setAlignment(Qt::AlignRight | Qt::AlignTop);
    auto *value = new QLabel(this);
    value->setObjectName(QStringLiteral("val") + field);
    value->setProperty(FieldProperty, field);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    title->setBuddy(value);
    grid->addWidget(title, row, column);
    grid->addWidget(value, row, column + 1);
    return value;
}

void DetailPanel::applySettings(const ProgramSettings &settings)
{
    m_projectCaption->setText(LiteralAmpersands(settings.mezo2));
    m_workCaption->setText(LiteralAmpersands(settings.mezo1));
    m_refCaption->setText(LiteralAmpersands(settings.mezo4));
    m_typeCaption->setText(LiteralAmpersands(settings.mezo3));
}

void DetailPanel::showRow(const Dataset &data, int row)
{
    const auto labels = findChildren<QLabel *>();
    for (QLabel *label : labels) {
        const QString field = label->property(FieldProperty).toString();
        if (field.isEmpty())
            continue;
        const int col = data.fieldIndex(field);
        label->setText(row >= 0 && col >= 0 ? data.displayText(row, col) : QString());
    }
}

void DetailPanel::showFiles(qint64 document)
{
    Dataset files = db().query(attachedFileQueryLines(document).join(QLatin1Char('\n')));
    const int shown = files.fieldIndex(u"origfilenev");
    for (int c = 0; c < files.fieldCount(); ++c)
        files.field(c).visible = c == shown;
    if (shown >= 0)
        files.field(shown).label = QStringLiteral("File neve");
    const int stamp = files.fieldIndex(u"rogzitve");
    if (stamp >= 0)
        files.field(stamp).displayFormat = QStringLiteral("yyyy.MM.dd");
    m_fileModel->setDataset(std::move(files));
    const Dataset &data = m_fileModel->dataset();
    for (int c = 0; c < data.fieldCount(); ++c)
        m_files->setColumnHidden(c, !data.field(c).visible);
    if (shown >= 0)
        m_files->setColumnWidth(shown, 225);
}

void DetailPanel::showPassage(const QString &fileName, const QString &text)
{
    m_passage->setText(text.isEmpty() ? QString() : fileName + QStringLiteral(": ") + text);
    m_passage->setVisible(!text.isEmpty());
}

QString DetailPanel::passageText() const
{
    return m_passage->text();
}

void DetailPanel::setPassageArea(bool on)
{
    setFixedHeight(on ? 120 + 3 * fontMetrics().lineSpacing() : 120);
}

void DetailPanel::setWide(bool wide)
{
    for (QWidget *w : std::as_const(m_wideOnly))
        w->setVisible(wide);
}

QString DetailPanel::valueText(const QString &objectName) const
{
    const QLabel *label = findChild<QLabel *>(objectName);
    return label ? label->text() : QString();
}
