#pragma once

#include "output/ExportProgress.h"

#include <QList>
#include <QString>

class Dataset;
class QIODevice;

// Writes a row set as a single-sheet spreadsheet in the BIFF2 format (the .xls of
// Excel 2.x, which later Excels and the other office suites open): a header row of
// the field labels in bold, then one row per visible record. Whole numbers become
// integer cells (number cells when they do not fit 16 bits), floating and decimal
// numbers number cells, BIT(1) values boolean cells, everything else text cells of
// at most 255 characters; NULL gives a blank cell.
class BiffWriter
{
public:
    // A sheet of this format holds 16 384 rows (readers refuse more); row 0 is the header.
    static constexpr int MaxDataRows = 16383;
    static constexpr int MaxColumns = 256;

    // Refuses a missing, closed (no fields) or empty row set, and one that does not
    // fit a sheet, with a KorvenaError; nothing is written then. The row set is
    // returned to its current row afterwards, whatever happens.
    static void write(Dataset *data, const QList<int> &columns, QIODevice &device,
                      const ExportProgress &progress = {});
    // The same into a file, created (or emptied) first; a file that cannot be
    // created throws with the system's message.
    static void writeFile(Dataset *data, const QList<int> &columns, const QString &fileName,
                          const ExportProgress &progress = {});
};
