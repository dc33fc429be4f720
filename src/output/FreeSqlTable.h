#pragma once

#include "db/Dataset.h"

#include <QString>
#include <QStringList>

class Connection;

// A table opened in the free SQL console for direct editing: its rows, and every
// change written to the server at once. A row is found again by its key (the primary
// key, else a unique key without NULLs) and its other comparable columns as read, so
// a change made meanwhile by someone else is noticed and refused; a table without a
// unique key is edited only where the row's values match exactly one row.
class FreeSqlTable
{
public:
    // Reads every row of the table and learns its primary key. Throws DbError
    // (an unknown table, no right to it); nothing is changed then.
    void open(Connection &connection, const QString &table);
    bool isOpen() const { return m_connection != nullptr; }
    void close();

    const QString &table() const { return m_table; }
    const QStringList &keyColumns() const { return m_keys; }
    Dataset &data() { return m_data; }
    const Dataset &data() const { return m_data; }

    // Whether a column can take typed text (binary columns cannot).
    bool isEditable(int column) const;

    // The refusal when a row no longer matches what was read.
    static const QString ChangedMeanwhile;

    // Writes the text into one cell: an UPDATE of that column, or the INSERT of a
    // row added by appendRow() and not written yet. An empty text is NULL except in
    // text columns. Throws on the server's refusal, and KorvenaError when the row
    // changed meanwhile or cannot be told apart from another, leaving the row as it was.
    void setCell(int row, int column, const QString &text);

    // A new row, kept in memory until its first cell is written. Returns its index.
    int appendRow();
    bool isPending(int row) const { return row == m_pending; }

    // DELETEs the row (a row not written yet is only dropped). Throws as setCell does.
    void removeRow(int row);

    // The statements, for the record and the tests.
    QString updateStatement(int row, int column, const QString &text) const;
    QString deleteStatement(int row) const;

private:
    QString valueLiteral(int column, const QString &text) const;
    QString rowCondition(int row) const;
    QString rowAsRead(int row) const;
    int matchingRows(int row) const;
    void checkIdentified(int row) const;
    void writeRow(int row, const QString &statement);
    void reread(int row);
    void dropRow(int row);

    Connection *m_connection = nullptr;
    QString m_table;
    QString m_quotedTable;
    QStringList m_keys;
    Dataset m_data;
    int m_pending = -1;
};

// The free SQL console's search: from the row given forward (that row tested first),
// the first row where some field's shown text contains the text, without regard to
// case. -1 when none does; an empty text matches nothing.
int NextMatchingRow(const Dataset &data, int fromRow, const QString &text);

// The result as the console copies it: DatasetToLines with header, without row
// numbers, tab-delimited, lines joined by CR LF.
QString ResultClipboardText(const Dataset &data);
