#pragma once

#include <QString>
#include <QStringList>

class Connection;
class Dataset;
struct ProgramSettings;

// The document list's query, kept as three lines that are changed in place:
// the select, the condition ("WHERE ...") and the order ("ORDER BY ...;").
// The select names the list's 46 fields so the dataset holds them in the order
// that exports and reports read.
class DocumentListQuery
{
public:
    DocumentListQuery();

    const QStringList &lines() const { return m_lines; }
    // The lines joined as they are sent.
    QString sql() const { return m_lines.join(QLatin1Char('\n')); }

    // The condition line becomes "WHERE " + condition.
    void setCondition(const QString &condition);
    // The order line becomes "ORDER BY " + field + ";".
    void setOrder(const QString &field);

    // The list's row of one document, when the condition admits it (no row otherwise).
    QString documentSql(qint64 document) const;

    // Reads the list into the dataset and gives its fields their labels.
    void open(Connection &connection, Dataset &into, const ProgramSettings &settings) const;

    // "SELECT <the 46 fields> FROM vw_iktato".
    static QString selectLine();

private:
    QStringList m_lines;
};

// The display label of a list field: the settings' caption for the five
// renamable ones, otherwise the list's own; empty for a field without one.
QString documentFieldLabel(QStringView field, const ProgramSettings &settings);
// Gives every field of a list dataset its label (and dates their display form).
void applyDocumentLabels(Dataset &data, const ProgramSettings &settings);

// The attached-file grid's query for one document.
QStringList attachedFileQueryLines(qint64 document);
