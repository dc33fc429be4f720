#pragma once

#include "common/ui/Dialog.h"

class QLabel;
class QScrollArea;
class QSpinBox;
class ReportRenderer;

// The on-screen preview of a report. Pages are painted only when shown, so the
// first page of a long list appears at once; the whole report is painted only
// when it goes to the printer ("Nyomtatás").
class ReportPreview : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Nyomtatasi_kep"};

    // printerName: the printer a print from the preview goes to (empty: the default).
    ReportPreview(QWidget *parent, ReportRenderer &renderer, const QString &printerName);

    int page() const { return m_page; }
    int pageCount() const { return m_pageCount; }
    void showPage(int page); // from 0, kept within the report
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    QLabel *pageView() const { return m_view; }

private:
    void render();
    void print();

    ReportRenderer &m_renderer;
    QString m_printerName;
    int m_page = 0;
    int m_pageCount = 0;
    double m_zoom = 1.0;
    QScrollArea *m_scroll;
    QLabel *m_view;
    QSpinBox *m_pageBox;
    QLabel *m_countLabel;
};
