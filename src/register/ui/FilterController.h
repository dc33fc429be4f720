#pragma once

#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"
#include "register/TextSearch.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class Dataset;
class DocumentListModel;
class DocumentListView;
class QLineEdit;
class QWidget;

// The dialogs the filter entries open. Each returns the chosen key, -1 when
// the user closed it without choosing.
struct FilterPickers
{
    std::function<int(QWidget *)> mainNumber; // "Főszámra"
    std::function<int(QWidget *)> type;       // "Típusra"
    std::function<int(QWidget *)> otherGroup; // "Egyéb csoportra"
    std::function<int(QWidget *)> group;      // "Csoportra" when the register has groups
    // "Időszak": true when confirmed.
    std::function<bool(QWidget *, QDate &, QDate &)> period;

    // The program's own screens.
    static FilterPickers standard();
};

// Keeps the document list's state and query and re-opens the list for every
// rebuild, search, scan, sort and refresh. The list's grid and search box are
// the window's; this only drives them.
class FilterController : public QObject
{
    Q_OBJECT
public:
    FilterController(DocumentListModel *model, DocumentListView *view, QLineEdit *searchBox,
                     QWidget *dialogParent);

    DocumentFilter &filter() { return m_filter; }
    const DocumentFilter &filter() const { return m_filter; }
    const DocumentListQuery &query() const { return m_query; }
    int lastDirection() const { return m_filter.direction; }
    void setPickers(FilterPickers pickers) { m_pickers = std::move(pickers); }

    // Composes the condition for the direction and the session user and
    // re-opens the list; the direction becomes the last one.
    void rebuild(int direction);
    // Re-opens the list with the query as it is, staying on the current document
    // (or on the given one).
    void refresh();
    void refresh(qint64 documentKey);
    // The list read again after the document changed: its row shows the change at
    // once and the grid stands on it, while the other rows are read behind the shown
    // ones and take their place when all are in.
    void refreshChanged(qint64 documentKey);
    // Re-opens the list with the search piece of the text and stands on the
    // first row whose locate column begins with the text.
    void search(const QString &text);
    // The search box's changes: only the latest text is searched, once the
    // events already waiting have been handled.
    void scheduleSearch(const QString &text);
    // The search box looks in the attached files' text as well; a search in force
    // is run again with the new choice.
    void setAttachmentTextSearch(bool on);
    bool attachmentTextSearch() const { return m_textSearch; }
    // The words the attached files' text must hold for the search in force; empty
    // without the choice or without a search.
    QStringList textSearchWords() const;
    // Enter in the search box: an eight-character text is a scanned label.
    void enterPressed(const QString &text);
    // A click on a grid column title; the reminder column does not sort.
    void sortByColumn(int column);

    // The filter entries (aSzur0 .. aSzur12) and the tabs.
    void chooseEntry(FilterEntry entry);
    void chooseDirection(int direction);
    void chooseYear(const QString &caption);

    // The key (iktato) of the current document, 0 when the list is empty.
    qint64 currentDocument() const;
    bool moveToDocument(qint64 key);
    // After work over rows of DocumentListModel::wholeList() that moved their current
    // row: the grid goes to that row, or to its document when the list was read again meanwhile.
    void followRow(const Dataset &rows);

Q_SIGNALS:
    // After every opening of the list, successful or not.
    void reopened();
    // "Sorrend: " + column title.
    void sortOrderShown(const QString &text);
    // The marked filter entry changed without the user choosing it.
    void entryMarked(FilterEntry entry);
    // "Lejártak" is offered only on the third direction tab.
    void expiredEntryAvailable(bool available);
    // Why the list is empty: the search text holds a character the register cannot
    // store (searchRefusalNote). Empty again once the list opens without that search.
    void searchNoteChanged(const QString &note);

private:
    void open();
    // Where the list should stand once the row arrives that is not in yet.
    struct Target
    {
        qint64 key = 0; // a document, or
        QString field;  // the first row whose field begins with text
        QString text;
        bool isSet() const { return key > 0 || !field.isEmpty(); }
    };
    // Stands on the target among the dataset rows from first on; true when found.
    bool reachTarget(const Target &target, int first);
    // Goes to the target now, or when its row arrives while the list is filling in.
    void aimAt(Target target);
    void rowsArrived(int first, int last);
    bool refreshAround(qint64 documentKey);
    // Around the exchange of the list's rows for those read again: the document the
    // grid stands on, and its line on the screen, before and after.
    void notePlace();
    void returnToPlace();
    void focusSearchBox();
    QString userCondition(int direction) const;

    DocumentListModel *m_model;
    DocumentListView *m_view;
    QLineEdit *m_searchBox;
    QWidget *m_dialogParent;
    DocumentFilter m_filter;
    DocumentListQuery m_query;
    FilterPickers m_pickers;
    QTimer m_searchTimer;
    QString m_pendingSearch;
    bool m_textSearch = false;
    std::optional<FulltextWords> m_indexWords; // the server's, read once per opened register
    QString m_searchInForce; // the text whose piece the condition line holds
    // The condition line of a refused search, its note, and the note shown.
    QString m_refusedLine;
    QString m_refusedNote;
    QString m_searchNote;
    Target m_target;
    bool m_moving = false; // the controller itself moves the grid
    // The document the grid stood on when the rows read again came in, and its line on the screen.
    qint64 m_placeKey = 0;
    int m_placeLine = 0;
};
