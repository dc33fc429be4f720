#pragma once

#include <QString>
#include <QStringList>

class Dataset;

// The readable description of documents that the list's copy action puts on the
// clipboard: per document a block of "label: value" lines chosen by the
// workstation's 17 flag characters ('I' includes; positions 1 to 14 count), then
// "-*-" and an empty line.

// The block of one row of the list dataset; row -1 gives the labels alone.
QStringList documentBlock(const Dataset &list, int row, const QString &flags);

// With marked documents in the register (markedCount > 0), the blocks of the
// list's rows marked for printing, the list returned to the document it was on;
// otherwise the block of the current row. Lines joined by CR LF, each ending with it.
QString documentClipboardText(Dataset &list, const QString &flags, int markedCount);

// How many documents of the whole register are marked for printing.
int markedDocumentCount();
