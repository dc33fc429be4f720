#pragma once

#include <QByteArray>
#include <QString>

class Dataset;

// A cell's text as the exports write it, in code page 1250 bytes: text as it is,
// numbers as the server sent them, dates and times in the short display form.
// NULL gives nothing. Appends to out, so a long export builds one buffer.
void appendCellText(const Dataset &data, int row, int col, QByteArray &out);
QByteArray cellText(const Dataset &data, int row, int col);
// The same as text, for writers that write Unicode.
QString cellString(const Dataset &data, int row, int col);
