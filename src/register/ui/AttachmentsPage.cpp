#include "register/ui/AttachmentsPage.h"

#include "common/ui/MessageBox.h"
#include "core/ui/ErrorHandler.h"
#include "core/ui/ListScreen.h"
#include "db/DbHelpers.h"
#include "db/ui/DatasetModel.h"
#include "register/Attachments.h"
#include "register/DocumentListQuery.h"
#include "register/Journal.h"
#include "register/ui/AttachmentScreens.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

AttachmentsPage::AttachmentsPage(QWidget *parent, qint64 document, std::function<int()> group, bool readOnly)
    : QWidget(parent), m_document(document), m_group(std::move(group))
{
    setObjectName(QStringLiteral("tsCsatolt"));
    setAccessibleName(QStringLiteral("Csatolt dokumentumok"));
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("tbCsatolt"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grdCsatolt"));
    m_grid->setAccessibleName(QStringLiteral("Csatolt dokumentumok"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    FitRowHeightToFont(m_grid, 6);
    m_model = new DatasetModel(this);
    m_grid->setModel(m_model);
    m_popup = new QMenu(this);

    QAction *add = makeAction(QStringLiteral("aFileUj"), QStringLiteral("Új sor"),
                              QKeySequence(Qt::Key_Insert), [this] { attach(); });
    QAction *remove = makeAction(QStringLiteral("aFileTorol"), QStringLiteral("Sor törlése"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { removeCurrent(); });
    QAction *open = makeAction(QStringLiteral("aFileMegnez"), QStringLiteral("Megnéz"),
                               QKeySequence(Qt::CTRL | Qt::Key_K), [this] { openCurrent(); });
    for (QAction *a : {add, remove, open}) {
        m_toolBar->addAction(a);
        m_popup->addAction(a);
    }
    if (readOnly) {
        add->setEnabled(false);
        remove->setEnabled(false);
    }
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->exec(m_grid->viewport()->mapToGlobal(pos)); });
    connect(m_grid, &QTableView::doubleClicked, open, &QAction::trigger);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_grid, 1);
    runGuarded(QString(), [this] { requery(); });
}

QAction *AttachmentsPage::makeAction(const QString &name, const QString &caption,
                                     const QKeySequence &shortcut, std::function<void()> handler)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    // The keys work on this page only, so the editor's own Ins and Ctrl+Del stay theirs elsewhere.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, name, handler = std::move(handler)] {
        QWidget *screen = window();
        runGuarded((screen ? screen->objectName() : QString()) + QLatin1Char('.') + name, handler);
    });
    return action;
}

void AttachmentsPage::requery()
{
    Dataset files = db().query(attachedFileQueryLines(m_document).join(QLatin1Char('\n')));
    struct Column
    {
        const char16_t *field;
        const char *title;
        int width;
    };
    const Column columns[] = {{u"origfilenev", "File neve", 294},
                              {u"rogzitve", "Rögzítve", 118},
                              {u"felhasznalo", "Felhasználó", 95}};
    for (int c = 0; c < files.fieldCount(); ++c)
        files.field(c).visible = false;
    for (const Column &column : columns) {
        const int c = files.fieldIndex(column.field);
        if (c < 0)
            continue;
        files.field(c).visible = true;
        files.field(c).label = QString::fromUtf8(column.title);
    }
    const int stamp = files.fieldIndex(u"rogzitve");
    if (stamp >= 0)
        files.field(stamp).displayFormat = QStringLiteral("yyyy.MM.dd");
    m_model->setDataset(std::move(files));
    const Dataset &data = m_model->dataset();
    for (int c = 0; c < data.fieldCount(); ++c)
        m_grid->setColumnHidden(c, !data.field(c).visible);
    QHeaderView *header = m_grid->horizontalHeader();
    int visual = 0;
    for (const Column &column : columns) {
        const int c = data.fieldIndex(column.field);
        if (c < 0)
            continue;
        header->moveSection(header->visualIndex(c), visual++);
        m_grid->setColumnWidth(c, column.width);
    }
    // Positioned on the last row: a new file is the last one.
    const int rows = m_model->rowCount();
    if (rows > 0) {
        const int first = data.fieldIndex(u"origfilenev");
        m_grid->setCurrentIndex(m_model->index(rows - 1, qMax(first, 0)));
        m_model->dataset().setCurrent(m_model->datasetRow(rows - 1));
    }
}

int AttachmentsPage::currentRow() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->datasetRow(index.row()) : -1;
}

QString AttachmentsPage::currentText(const QString &field) const
{
    const int row = currentRow();
    const int col = m_model->dataset().fieldIndex(field);
    return row >= 0 && col >= 0 ? m_model->dataset().text(row, col) : QString();
}

void AttachmentsPage::attach()
{
    AttachFile(this, m_document, m_group(), nullptr, true);
    requery();
}

void AttachmentsPage::removeCurrent()
{
    if (currentRow() < 0) {
        ShowError(QStringLiteral("Nincs sor kiválasztva."));
        return;
    }
    if (!AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés")))
        return;
    Attachments::remove(m_document, currentText(QStringLiteral("iktato_file")).toLongLong(),
                        currentText(QStringLiteral("origfilenev")));
    requery();
}

void AttachmentsPage::openCurrent()
{
    const QString original = currentText(QStringLiteral("origfilenev"));
    OpenAttachment(this, currentText(QStringLiteral("filenev")), original, m_group());
    Journal::write(m_document, QStringLiteral("Csatolt file megnyitás = ") + original);
}
