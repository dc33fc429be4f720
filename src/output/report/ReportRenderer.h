#pragma once

#include "output/report/ReportLayout.h"

#include <QDateTime>
#include <QHash>
#include <functional>
#include <vector>

class Dataset;
class QPagedPaintDevice;
class QPainter;

// Lays a report out over its row set and paints it a page at a time. Splitting
// into pages runs only the hooks (band heights are fixed numbers), so even a long
// list knows its pages at once and any page can be painted on its own.
class ReportRenderer
{
public:
    // The row sets must outlive the renderer; the data source is read in its
    // visible order (a client-side filter applies).
    ReportRenderer(ReportLayout layout, const Dataset &data, const Dataset *letterhead = nullptr);

    const ReportLayout &layout() const { return m_layout; }
    void setPrintTime(const QDateTime &time) { m_printTime = time; }

    int pageCount();
    // Paints one page on a painter whose device was set up with the layout's page layout.
    void paintPage(QPainter &painter, int page);
    // Sets the device's page layout and paints every page. The callback runs after each
    // page (with the pages done and their count) and stops the run by returning false.
    bool paint(QPagedPaintDevice &device, const std::function<bool(int done, int count)> &progress = {});
    // Writes the report as a PDF file; false when the file cannot be written.
    bool writePdf(const QString &fileName, const std::function<bool(int done, int count)> &progress = {});

private:
    struct Page
    {
        int first = 0; // visible row index
        int count = 0;
    };
    void paginate();
    int rowsPerColumn() const;
    void paintBand(QPainter &painter, ReportBand &band, const QPointF &origin, double width, int row);
    void paintElement(QPainter &painter, const ReportElement &e, const QPointF &origin, double width,
                      int row);
    QString elementText(const ReportElement &e, int row) const;
    int column(const Dataset &rows, const QString &field) const;
    const QList<QRectF> &bars(const QString &code);

    ReportLayout m_layout;
    const Dataset &m_data;
    const Dataset *m_letterhead;
    QDateTime m_printTime;
    std::vector<Page> m_pages;
    bool m_paginated = false;
    int m_page = 0;  // the page being painted, from 0
    double m_mm = 1; // device pixels per millimetre
    mutable QHash<QString, int> m_dataColumns;
    mutable QHash<QString, int> m_letterheadColumns;
    QHash<QString, QList<QRectF>> m_bars;
};
