#pragma once

#include "output/report/ReportLayout.h"

// The program's report layouts, one file each.

// qrLista: the simple list of the main list's rows.
ReportLayout ListReport(const QString &connectionName);
// qrReszletes (period false) and qrReszletes2 (period true): the detailed lists;
// the type and reference captions come from the register's settings.
ReportLayout DetailedReport(const QString &connectionName, const QString &typeCaption,
                            const QString &referenceCaption, bool period);

// The three envelope sizes.
enum class EnvelopeSize
{
    C6 = 0, // qrBoritek
    DL = 1, // qrBoritek2
    C5 = 2, // qrBoritek3
};
// Over the addressee row (sp_boritek) with the sender from the letterhead row set
// (tulajdonos with varoscim); the logo may be null.
ReportLayout EnvelopeReport(EnvelopeSize size, const QImage &logo);
// qrAjanlott: the registered-mail receipt form, same row sets as the envelopes.
ReportLayout RegisteredMailReport();

// The label sheet's settings (VK_*).
struct LabelSheet
{
    double left = 10.0;
    double top = 10.0;
    int columns = 4;
    double height = 19.2;
    double indent = 2.0;
};
// qrVKod over vkod, column by column.
ReportLayout LabelSheetReport(const LabelSheet &sheet);
// How many labels one page of the sheet holds.
int LabelsPerSheet(const LabelSheet &sheet);
// The position of the next free label counted on one sheet: a position past the
// sheet's last label goes on to the next sheet, as the paper does. Below 1 stays.
int PositionOnSheet(int position, const LabelSheet &sheet);
// qrVKod2: one symbol in the chosen corner of the page (0 top left, 1 top right,
// 2 bottom left, 3 bottom right), over vkod's first row.
ReportLayout CornerBarcodeReport(int corner);

// qrAtvevo: the recipient list.
ReportLayout RecipientReport(const QString &connectionName);
// qrKiadott: the lent-out items (sp_kiadott with its computed columns).
ReportLayout LentOutReport();
// qrMappa: the folder cover, landscape.
ReportLayout FolderCoverReport();

// The identifier takes 8 points below 16 characters and 7 from there.
double identifierPoints(const QString &identifier);
