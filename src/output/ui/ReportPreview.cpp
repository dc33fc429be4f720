#include "output/ui/ReportPreview.h"

#include "common/ui/MessageBox.h"
#include "output/report/ReportRenderer.h"
#include "output/ui/OutputChoice.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QPushButton *toolButton(const QString &caption, const QString &name)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

ReportPreview::ReportPreview(QWidget *parent, ReportRenderer &renderer, const QString &printerName)
    : Dialog(parent, ObjectName, true), m_renderer(renderer), m_printerName(printerName)
{
    setWindowTitle(QStringLiteral("Nyomtatási kép"));
    m_pageCount = m_renderer.pageCount();

    auto *first = toolButton(QStringLiteral("|<"), QStringLiteral("btnElso"));
    first->setToolTip(QStringLiteral("Első oldal"));
    auto *previous = toolButton(QStringLiteral("<"), QStringLiteral("btnElozo"));
    previous->setToolTip(QStringLiteral("Előző oldal"));
    auto *next = toolButton(QStringLiteral(">"), QStringLiteral("btnKovetkezo"));
    next->setToolTip(QStringLiteral("Következő oldal"));
    auto *last = toolButton(QStringLiteral(">|"), QStringLiteral("btnUtolso"));
    last->setToolTip(QStringLiteral("Utolsó oldal"));
    m_pageBox = new QSpinBox;
    m_pageBox->setRange(1, qMax(1, m_pageCount));
    m_pageBox->setAccessibleName(QStringLiteral("Oldal"));
    m_countLabel = new QLabel(QStringLiteral("/ %1").arg(m_pageCount));
    auto *zoomIn = toolButton(QStringLiteral("Nagyítás"), QStringLiteral("btnNagyit"));
    auto *zoomOut = toolButton(QStringLiteral("Kicsinyítés"), QStringLiteral("btnKicsinyit"));
    auto *printButton = toolButton(QStringLiteral("Nyomtatás"), QStringLiteral("btnNyomtat"));
    auto *close = toolButton(QStringLiteral("Bezár"), QStringLiteral("btnBezar"));

    connect(first, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(previous, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(next, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(last, &QPushButton::clicked, this, [this] { showPage(m_pageCount - 1); });
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int value) { showPage(value - 1); });
    connect(zoomIn, &QPushButton::clicked, this, [this] { setZoom(m_zoom * 1.25); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { setZoom(m_zoom / 1.25); });
    connect(printButton, &QPushButton::clicked, this, &ReportPreview::print);
    connect(close, &QPushButton::clicked, this, &ReportPreview::reject);

    auto *bar = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{first, previous, m_pageBox, m_countLabel, next, last,
                                                       zoomOut, zoomIn, printButton})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(close);

    m_view = new QLabel;
    m_view->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);
    resize(900, 1000);
    render();
}

void ReportPreview::showPage(int page)
{
    page = qBound(0, page, qMax(0, m_pageCount - 1));
    if (page == m_page && !m_view->pixmap().isNull())
        return;
    m_page = page;
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setValue(page + 1);
    render();
}

void ReportPreview::setZoom(double zoom)
{
    m_zoom = qBound(0.25, zoom, 4.0);
    render();
}

void ReportPreview::render()
{
    // One page at screen resolution times the zoom; nothing else is painted.
    const QPageLayout layout = m_renderer.layout().pageLayout();
    const double dpi = (screen() ? screen()->logicalDotsPerInch() : 96.0) * m_zoom;
    const QSizeF mm = layout.fullRect(QPageLayout::Millimeter).size();
    QImage image(qMax(1, int(mm.width() / 25.4 * dpi)), qMax(1, int(mm.height() / 25.4 * dpi)),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(int(dpi / 0.0254));
    image.setDotsPerMeterY(int(dpi / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
        painter.translate(margins.left() / 25.4 * dpi, margins.top() / 25.4 * dpi);
        m_renderer.paintPage(painter, m_page);
    }
    m_view->setPixmap(QPixmap::fromImage(image));
}

void ReportPreview::print()
{
    if (installedPrinters().isEmpty()) {
        ShowError(QStringLiteral("Nincs telepített nyomtató."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!m_printerName.isEmpty())
        printer.setPrinterName(m_printerName);
    printer.setDocName(m_renderer.layout().title);
    const bool done = m_renderer.paint(printer, [](int, int) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    });
    if (!done)
        ShowError(QStringLiteral("A nyomtatás nem sikerült: ") + printer.printerName());
    else
        render(); // the printer's resolution was the renderer's last device
}
