#include "register/ui/FilterController.h"

#include "common/Clock.h"
#include "db/DbHelpers.h"
#include "common/LastAction.h"
#include "common/ui/InputDialogs.h"
#include "core/Session.h"
#include "core/ui/ErrorHandler.h"
#include "core/ui/ListScreen.h"
#include "masterdata/ui/Pickers.h"
#include "register/ui/DocumentListModel.h"
#include "register/TextSearch.h"
#include "register/ui/DocumentListView.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QScopeGuard>
#include <QSignalBlocker>

FilterController::FilterController(DocumentListModel *model, DocumentListView *view, QLineEdit *searchBox,
                                   QWidget *dialogParent)
    : QObject(view), m_model(model), m_view(view), m_searchBox(searchBox), m_dialogParent(dialogParent),
      m_pickers(FilterPickers::standard())
{
    m_searchTimer.setSingleShot(true);
    m_searchTimer.setInterval(0);
    connect(&m_searchTimer, &QTimer::timeout, this,
            guarded(QStringLiteral("frm_Main.edKeres"), [this] { search(m_pendingSearch); }));
    connect(m_model, &DocumentListModel::rowsArrived, this, &FilterController::rowsArrived);
    connect(m_model, &DocumentListModel::rereadArriving, this, &FilterController::notePlace);
    connect(m_model, &DocumentListModel::rereadArrived, this, &FilterController::returnToPlace);
    // Once the user moves in a list that still fills in, a row arriving later does not take the grid away.
    connect(m_view, &DocumentListView::currentDocumentChanged, this, [this] {
        if (!m_moving)
            m_target = Target();
    });
}

void FilterController::open()
{
    // Until the session user's condition exists, nothing may list: the query's
    // first condition would show every group's documents.
    m_target = Target();
    if (m_filter.condition.isEmpty()) {
        m_model->reload([](Dataset &data) { data.reset(); });
        Q_EMIT reopened();
        return;
    }
    try {
        m_moving = true;
        const auto moved = qScopeGuard([this] { m_moving = false; });
        m_model->stream(db().params(), m_query.sql(),
                        [](Dataset &data) { applyDocumentLabels(data, session().settings); });
    } catch (...) {
        Q_EMIT reopened();
        throw;
    }
    Q_EMIT reopened();
    // A refused search stays in force through refreshes and sorts, until the condition changes.
    const QString note = m_query.lines().value(1) == m_refusedLine ? m_refusedNote : QString();
    if (note != m_searchNote) {
        m_searchNote = note;
        Q_EMIT searchNoteChanged(note);
    }
}

QString FilterController::userCondition(int direction) const
{
    return m_filter.compose(direction, session().user.code);
}

void FilterController::rebuild(int direction)
{
    m_searchInForce.clear();
    m_indexWords.reset();
    m_filter.condition = userCondition(direction);
    m_filter.direction = direction;
    m_query.setCondition(m_filter.condition);
    open();
}

void FilterController::refresh()
{
    refresh(currentDocument());
}

void FilterController::refresh(qint64 documentKey)
{
    open();
    if (documentKey > 0)
        aimAt(Target{documentKey, {}, {}});
}

void FilterController::refreshChanged(qint64 documentKey)
{
    if (documentKey <= 0 || !refreshAround(documentKey))
        refresh(documentKey);
}

bool FilterController::refreshAround(qint64 documentKey)
{
    // Two copies of a very long list would double what it holds; that one opens afresh.
    constexpr qsizetype MaxRereadBytes = qsizetype(256) << 20;
    const Dataset &data = m_model->dataset();
    if (m_filter.condition.isEmpty() || data.fieldCount() == 0 || data.memoryBytes() > MaxRereadBytes)
        return false;
    Dataset one;
    db().query(m_query.documentSql(documentKey), one);
    const int row = m_model->putRow(one, documentKey);
    // A document the list no longer admits (deleted, moved away) leaves with a whole re-opening.
    if (row < 0)
        return false;
    m_model->reread(db().params(), m_query.sql(),
                     [](Dataset &d) { applyDocumentLabels(d, session().settings); });
    m_target = Target();
    // The marked-only view may hide the row; the grid then stays where it is.
    if (m_model->modelRow(row) >= 0) {
        m_moving = true;
        const auto moved = qScopeGuard([this] { m_moving = false; });
        m_model->dataset().setCurrent(row);
        m_view->moveToDatasetRow(row);
    }
    return true;
}

void FilterController::notePlace()
{
    m_placeKey = currentDocument();
    const QModelIndex current = m_view->currentIndex();
    m_placeLine = current.isValid() ? current.row() - m_view->rowAt(0) : 0;
    m_moving = true;
}

void FilterController::returnToPlace()
{
    const auto moved = qScopeGuard([this] { m_moving = false; });
    if (m_placeKey <= 0 || !moveToDocument(m_placeKey))
        return;
    // The row stays on its line of the screen when it can.
    const int modelRow = m_view->currentIndex().row();
    const int visibleLines = qMax(1, m_view->viewport()->height() / qMax(1, m_view->rowHeight(modelRow)));
    if (m_placeLine < 0 || m_placeLine >= visibleLines)
        return;
    const int top = modelRow - m_placeLine;
    m_view->verticalScrollBar()->setValue(
        m_view->verticalScrollMode() == QAbstractItemView::ScrollPerItem ? top : top * m_view->rowHeight(modelRow));
}

void FilterController::search(const QString &text)
{
    m_searchTimer.stop();
    m_refusedNote = searchRefusalNote(text);
    if (!m_refusedNote.isEmpty()) {
        m_searchInForce.clear();
        m_query.setCondition(m_filter.condition + QStringLiteral(" AND FALSE"));
        m_refusedLine = m_query.lines().value(1);
        open();
        return;
    }
    m_searchInForce = text;
    if (m_textSearch && !m_indexWords)
        m_indexWords = readFulltextWords(db());
    m_query.setCondition(m_filter.condition +
                         documentSearchPiece(text, m_textSearch, m_indexWords.value_or(FulltextWords())));
    open();
    aimAt(Target{0, m_filter.locateColumn, text});
}

void FilterController::scheduleSearch(const QString &text)
{
    m_pendingSearch = text;
    m_searchTimer.start();
}

void FilterController::enterPressed(const QString &text)
{
    if (!isBarcodeLength(text))
        return;
    // The scan replaces whatever search its characters started.
    m_searchTimer.stop();
    m_searchInForce.clear();
    m_query.setCondition(m_filter.condition);
    open();
    if (const std::optional<int> key = barcodeDocumentKey(text))
        aimAt(Target{*key, {}, {}});
}

void FilterController::setAttachmentTextSearch(bool on)
{
    if (on == m_textSearch)
        return;
    m_textSearch = on;
    if (!m_searchInForce.isEmpty())
        search(m_searchInForce);
}

QStringList FilterController::textSearchWords() const
{
    return m_textSearch ? attachmentTextWords(m_searchInForce, m_indexWords.value_or(FulltextWords()))
                        : QStringList();
}

void FilterController::sortByColumn(int column)
{
    const QString field = m_model->columnField(column);
    if (field.isEmpty())
        return;
    m_filter.locateColumn = field;
    Q_EMIT sortOrderShown(QStringLiteral("Sorrend: ") +
                          m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    const qint64 key = currentDocument();
    m_query.setOrder(field);
    open();
    if (key > 0)
        aimAt(Target{key, {}, {}});
    focusSearchBox();
    HighlightColumn(m_view, column);
}

void FilterController::chooseEntry(FilterEntry entry)
{
    const FilterEntry previous = m_filter.entry;
    // A picker closed without choosing leaves the list and its marked entry as they were.
    const auto cancelled = [this, previous] {
        m_filter.entry = previous;
        Q_EMIT entryMarked(previous);
    };
    m_filter.entry = entry;
    switch (entry) {
    case FilterEntry::MainNumber: {
        const int picked = m_pickers.mainNumber ? m_pickers.mainNumber(m_dialogParent) : -1;
        if (picked == -1)
            return cancelled();
        m_filter.clear();
        m_filter.mainNumber = picked;
        break;
    }
    case FilterEntry::Period: {
        m_filter.clear();
        QDate first = Today().addMonths(-1);
        QDate last = Today();
        if (m_pickers.period && m_pickers.period(m_dialogParent, first, last)) {
            m_filter.periodStart = first;
            m_filter.periodEnd = last;
        } else {
            m_filter.periodStart = m_filter.periodEnd = Today();
        }
        break;
    }
    case FilterEntry::Type: {
        const int picked = m_pickers.type ? m_pickers.type(m_dialogParent) : -1;
        if (picked == -1)
            return cancelled();
        m_filter.clear();
        m_filter.type = picked;
        break;
    }
    case FilterEntry::Expired:
        m_filter.clear();
        m_filter.expiredOnly = true;
        break;
    case FilterEntry::Group: {
        const ProgramSettings &settings = session().settings;
        int picked = settings.alapcsoport;
        if (settings.vancsoport)
            picked = m_pickers.group ? m_pickers.group(m_dialogParent) : -1;
        if (picked == -1)
            return cancelled();
        m_filter.clear();
        m_filter.group = picked;
        break;
    }
    case FilterEntry::OtherGroup: {
        const int picked = m_pickers.otherGroup ? m_pickers.otherGroup(m_dialogParent) : -1;
        if (picked == -1)
            return cancelled();
        m_filter.clear();
        m_filter.otherGroup = picked;
        break;
    }
    default:
        m_filter.clear();
        break;
    }
    rebuild(m_filter.direction);
}

void FilterController::chooseDirection(int direction)
{
    Q_EMIT expiredEntryAvailable(false);
    if (direction == Other)
        Q_EMIT expiredEntryAvailable(true);
    rebuild(direction);
}

void FilterController::chooseYear(const QString &caption)
{
    m_filter.year = yearOfTabCaption(caption);
    {
        const QSignalBlocker quiet(m_searchBox);
        m_searchBox->clear();
    }
    m_searchTimer.stop();
    m_filter.entry = FilterEntry::None;
    Q_EMIT entryMarked(FilterEntry::None);
    rebuild(m_filter.direction);
}

qint64 FilterController::currentDocument() const
{
    const Dataset &data = m_model->dataset();
    const int row = data.current();
    const int col = data.fieldIndex(u"iktato");
    if (row < 0 || col < 0)
        return 0;
    return data.toInt(row, col, 0);
}

bool FilterController::moveToDocument(qint64 key)
{
    Dataset &data = m_model->dataset();
    if (!data.locateValue(u"iktato", key))
        return false;
    return m_view->moveToDatasetRow(data.current());
}

void FilterController::followRow(const Dataset &rows)
{
    const int row = rows.current();
    if (row < 0 || row >= rows.rowCount())
        return;
    if (m_model->shows(rows)) {
        m_view->moveToDatasetRow(row);
        return;
    }
    const int col = rows.fieldIndex(u"iktato");
    if (col >= 0)
        moveToDocument(rows.toInt(row, col, 0));
}

bool FilterController::reachTarget(const Target &target, int first)
{
    Dataset &data = m_model->dataset();
    const int col = target.key > 0 ? data.fieldIndex(u"iktato") : data.fieldIndex(target.field);
    if (col < 0)
        return false;
    const QByteArray key = QByteArray::number(target.key);
    for (int row = first; row < data.rowCount(); ++row) {
        if (data.isFiltered() && m_model->modelRow(row) < 0)
            continue;
        const bool hit = target.key > 0 ? !data.isNull(row, col) && data.raw(row, col) == key
                                        : data.text(row, col).startsWith(target.text, Qt::CaseInsensitive);
        if (hit) {
            m_moving = true;
            const auto moved = qScopeGuard([this] { m_moving = false; });
            data.setCurrent(row);
            m_view->moveToDatasetRow(row);
            return true;
        }
    }
    return false;
}

void FilterController::aimAt(Target target)
{
    m_target = Target();
    if (!target.isSet() || reachTarget(target, 0))
        return;
    if (m_model->isLoading())
        m_target = std::move(target);
}

void FilterController::rowsArrived(int first, int /*last*/)
{
    if (m_target.isSet() && reachTarget(m_target, first))
        m_target = Target();
}

void FilterController::focusSearchBox()
{
    m_searchBox->setFocus(Qt::OtherFocusReason);
}

FilterPickers FilterPickers::standard()
{
    FilterPickers p;
    p.mainNumber = [](QWidget *parent) { return MainNumberPicker(parent, -1, true).key; };
    p.type = [](QWidget *parent) { return MasterDataPicker(parent, -1, MasterTable::Caller::TypeFilter).key; };
    p.otherGroup = [](QWidget *parent) {
        return MasterDataPicker(parent, -1, MasterTable::Caller::OtherGroupFilter).key;
    };
    p.group = [](QWidget *parent) { return GroupPicker(parent); };
    p.period = [](QWidget *parent, QDate &first, QDate &last) {
        return AskPeriod(first, last, QString(), parent);
    };
    return p;
}
