#pragma once

#include "output/ExportProgress.h"

#include <QByteArray>
#include <QList>
#include <QString>

class Dataset;
class QIODevice;

// One grid column as the page shows it: the row set's field (-1 for a column bound
// to none, which the page leaves out), its title, its width in pixels and the
// alignment of its field.
struct HtmlColumn
{
    int field = -1;
    QString caption;
    int width = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// What the page is made of: the grid's columns in display order, the grid's own
// width in pixels and the title over the table.
struct HtmlPage
{
    QList<HtmlColumn> columns;
    int gridWidth = 0;
    QString title;
};

// A column's share of the grid width in whole percent, halves to the even neighbour.
int HtmlPercent(int width, int gridWidth);

// &, <, >, and " as entities, so a subject like "a < b" cannot break the page.
QString HtmlEscape(const QString &text);

// Writes the page as one run of windows-1250 text: a table of the visible rows, the
// row count, the time it was written and the program's title. The progress callback
// is asked every tenth row; a stop ends the table there and the page is finished
// with the rows written. The row set's current row is not moved.
// Returns the rows written; throws KorvenaError when the device refuses the bytes.
int writeHtmlPage(QIODevice &out, Dataset &rows, const HtmlPage &page, const ExportProgress &progress = {});

// The page written into a file, created or replaced; throws KorvenaError with the
// system's message when the file cannot be made.
int writeHtmlFile(const QString &fileName, Dataset &rows, const HtmlPage &page,
                  const ExportProgress &progress = {});
