#pragma once

#include "output/report/ReportLayout.h"

class Dataset;
class QWidget;

// A report run: the output choice with a working copy of the configured printer,
// then the preview, the printer, the delimited export of the data source
// ("File001.csv" in the documents folder) or a PDF file. The configured printer
// is never changed; a name that is not installed leaves the default printer.
void RunReport(QWidget *parent, const ReportLayout &layout, Dataset &data,
               const Dataset *letterhead = nullptr);

// The documents folder of the user, where exports are offered.
QString documentsFolder();
