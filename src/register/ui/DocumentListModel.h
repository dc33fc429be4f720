#pragma once

#include "db/Dataset.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <memory>

struct ConnectionParams;
class QueryStream;

// The document list's twelve grid columns over the list dataset: four marker
// columns (reminder, print, lent out, status) and the eight fields the
// settings name. Cells are decoded only when the view paints them; loading
// does no work per row.
class DocumentListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int MarkerColumns = 4;
    static constexpr int ColumnCount = 12;
    enum Column
    {
        ReminderColumn = 0,
        PrintColumn = 1,
        LentOutColumn = 2,
        StatusColumn = 3,
        FirstFieldColumn = 4,
    };

    // Rows a re-opened list waits for before it shows: more than a screen, and all of
    // a short list, so only a long one goes on filling in after the opening.
    static constexpr int FirstScreenRows = 1000;

    explicit DocumentListModel(QObject *parent = nullptr);
    ~DocumentListModel() override;

    // The rows as the grid shows them now, still filling in or about to be exchanged:
    // for the current row and what the screen shows, never for work over the whole list.
    Dataset &dataset() { return *m_data; }
    const Dataset &dataset() const { return *m_data; }

    // The list for work that consumes all of it (prints, exports, the clipboard): waits
    // for the rows still coming and for a re-reading under way, then hands out the rows.
    // While the holder keeps them, a re-reading, an opening or a changed cell goes into
    // a set of the list's own, so the rows held stay whole and unmixed; they share the
    // current row with the grid until then. Throws when the list could not be read whole.
    std::shared_ptr<Dataset> wholeList();
    // The grid still shows these rows (no re-reading or opening exchanged them).
    bool shows(const Dataset &rows) const { return m_data.get() == &rows; }

    // The fields of columns 5 to 12 and their titles.
    void setFieldColumns(const QStringList &fields, const QStringList &titles);
    // The field a column shows; empty for the reminder column.
    QString columnField(int column) const;

    // Refills the dataset through fill (a query). On failure the list is left
    // empty and closed, and the failure goes on to the caller.
    void reload(const std::function<void(Dataset &)> &fill);
    // Re-opens the list with the query's rows read on a connection of its own (params):
    // returns once the first screen is in (or the whole result, when shorter) and
    // appends the rest as it arrives. prepare gets the dataset once it holds the fields.
    // A failure before the first screen leaves the list empty and goes to the caller;
    // a later one goes to the error handler and leaves the rows already in.
    void stream(const ConnectionParams &params, const QString &sql,
                const std::function<void(Dataset &)> &prepare);
    // Rows of the current opening are still coming.
    bool isLoading() const { return m_loading; }
    // Reads the list again (a stream as above) behind the rows shown, which stay and
    // stay usable, and exchanges them for the new ones at once when those are all in:
    // a refresh after one document changed needs no empty or half list meanwhile.
    // A row changed meanwhile through setCell keeps its change in the new rows.
    void reread(const ConnectionParams &params, const QString &sql,
                const std::function<void(Dataset &)> &prepare);
    bool isRereading() const { return m_rereading; }
    // Shows one document's row as the server now gives it to the list (one: the list's
    // query narrowed to that document, the same fields, one row): the row holding key
    // takes its values, or it is appended. Returns its dataset row; -1 when one holds
    // no row or other fields.
    int putRow(const Dataset &one, qint64 key);
    // Waits for the rest of the rows, and for a re-reading: for the work that needs
    // the whole list.
    void finishLoading();
    // Stops reading the rest; the rows in stay.
    void stopLoading();

    // A client-side row filter that stays in force across reloads; empty: none.
    void setRowFilter(std::function<bool(const Dataset &, int row)> predicate);
    bool hasRowFilter() const { return bool(m_rowFilter); }
    // One cell changed in memory after its statement changed the server's row, so
    // a one-row change repaints that row instead of re-reading the list. The row
    // stays shown even when the row filter would now hide it.
    void setCell(int datasetRow, QStringView field, const QVariant &value);

    int datasetRow(int modelRow) const;
    int modelRow(int datasetRow) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Background of a row by direction: light blue incoming, light peach other,
    // none (the window colour) outgoing.
    static QVariant directionBackground(QByteArrayView irany);

Q_SIGNALS:
    // Rows of a streamed list were appended (dataset rows, the last one included).
    void rowsArrived(int firstDatasetRow, int lastDatasetRow);
    // The rows still coming after an opening are all in, or their reading stopped.
    void loadingFinished();
    // Around the exchange of the rows for those read again (the model resets between).
    void rereadArriving();
    void rereadArrived();

private:
    void resolveColumns();
    void takeArrived();
    void dropStream();
    void appendArrived(Dataset &arrived);
    void takeReread(bool wait);
    void dropReread();
    QVariant marker(int row, int column) const;
    // The rows to change in place; a set handed out by wholeList() is copied first.
    Dataset &ownRows();
    // Empty rows for a new opening; a set handed out keeps its rows.
    Dataset &freshRows();

    std::shared_ptr<Dataset> m_data;
    QStringList m_fields;    // per grid column; empty for the reminder column
    QStringList m_titles;    // per grid column
    int m_cols[ColumnCount]; // dataset column of each grid column, -1 when missing
    int m_iranyCol = -1;
    int m_datFigyCol = -1;
    std::function<bool(const Dataset &, int)> m_rowFilter;
    std::unique_ptr<QueryStream> m_stream;
    bool m_loading = false;
    // Every row of the last opening is in (not cut short by stopLoading or a failure).
    bool m_complete = true;
    bool m_rereading = false;
    Dataset m_reread;
    std::function<void(Dataset &)> m_prepare;
    struct CellChange
    {
        qint64 key;
        QString field;
        QVariant value;
    };
    QList<CellChange> m_changesWhileRereading;
};
