#pragma once

#include "output/report/ReportLayout.h"

// The page frame the document lists share: a header with the heading at the left,
// the owner's letterhead at the right and the column captions, and a footer with
// the product, page number, web address, print time, title and identifier.
struct PageFrame
{
    QString heading;
    QString title;
    QString identifier;
    QString product;
    double headerHeight = 22.2;
    double headingTop = 1.3;
    double connectionTop = 10.6; // < 0: no connection name
    QString connectionName;
    double boxWidth = 77.1;
    double rightBoxLeft = 112.4; // the letterhead's box
    double boxHeight = 16.2;
    double letterheadTops[3] = {1.3, 6.6, 10.6};
    QColor ruleColor = Qt::black; // the header's and the detail band's rules
    QColor footerRule = Qt::black;
};

struct ColumnCaption
{
    QString text;
    double left;
    double width;
};

// Sets the header and footer bands of the layout on its usable width.
void applyPageFrame(ReportLayout &layout, const PageFrame &frame);
// Fixed captions along the header at the given top, Segoe UI 8.
void addColumnCaptions(ReportBand &header, double top, const QList<ColumnCaption> &captions, bool italic);

// The fonts the lists print in.
QFont listFont(double points = 8, bool bold = false, bool italic = false);
