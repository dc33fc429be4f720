#pragma once

#include "output/ExportProgress.h"

#include <QByteArray>
#include <QList>
#include <QString>

class Dataset;

struct DelimitedOptions
{
    QList<int> columns;          // the fields to write, in the row set's field order
    char separator = ';';
    QByteArray quote;            // empty, a double quote or an apostrophe
    bool header = true;          // off: the first line is empty
    bool originalNames = false;  // header of field names instead of labels
    bool multiLineFields = true; // memo text instead of "BLOB"
};

struct DelimitedText
{
    QByteArray lines; // code page 1250, every line followed by CR LF
    int rows = 0;     // data lines written
    bool stopped = false;
};

// The header line and one line per visible row, from the first. Values are escaped
// for one-line output; the header keeps its final separator, data lines do not.
// The row set is left on the last row read (where a stop left it).
DelimitedText buildDelimitedText(Dataset &data, const DelimitedOptions &options,
                                 const ExportProgress &progress = {});

// The lines as clipboard text: joined by CR LF, without a line break after the last.
QString delimitedClipboardText(const QByteArray &lines);

// Creates or replaces the file with the bytes; throws KorvenaError with the
// system's message when it cannot.
void writeWholeFile(const QString &fileName, const QByteArray &bytes);
