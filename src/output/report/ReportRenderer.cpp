#include "output/report/ReportRenderer.h"

#include "common/Clock.h"
#include "db/Dataset.h"
#include "output/report/Ean8.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr double Eps = 0.001;
constexpr double ThinRule = 0.2; // mm

} // namespace

ReportRenderer::ReportRenderer(ReportLayout layout, const Dataset &data, const Dataset *letterhead)
    : m_layout(std::move(layout)), m_data(data), m_letterhead(letterhead), m_printTime(Now())
{
}

int ReportRenderer::pageCount()
{
    paginate();
    return int(m_pages.size());
}

int ReportRenderer::rowsPerColumn() const
{
    const double body = m_layout.usableSize().height() - m_layout.header.height - m_layout.footer.height;
    if (m_layout.detail.height <= 0)
        return 1;
    return qMax(1, int((body + Eps) / m_layout.detail.height));
}

void ReportRenderer::paginate()
{
    if (m_paginated)
        return;
    m_paginated = true;
    m_pages.clear();
    const int total = m_data.visibleCount();
    if (m_layout.columns > 1) {
        const int perPage = rowsPerColumn() * m_layout.columns;
        for (int first = 0; first < total; first += perPage)
            m_pages.push_back({first, qMin(perPage, total - first)});
    } else {
        const double top = m_layout.header.height;
        const double bottom = m_layout.usableSize().height() - m_layout.footer.height;
        ReportBand band = m_layout.detail;
        Page page;
        double y = top;
        for (int i = 0; i < total; ++i) {
            if (m_layout.beforeDetail)
                m_layout.beforeDetail(band, m_data, m_data.visibleRow(i));
            if (page.count > 0 && y + band.height > bottom + Eps) {
                m_pages.push_back(page);
                page = {i, 0};
                y = top;
            }
            y += band.height;
            ++page.count;
        }
        m_pages.push_back(page);
    }
    // No rows still give one page with its header and footer.
    if (m_pages.empty())
        m_pages.push_back({0, 0});
}

void ReportRenderer::paintPage(QPainter &painter, int pageIndex)
{
    paginate();
    if (pageIndex < 0 || pageIndex >= int(m_pages.size()))
        return;
    m_page = pageIndex;
    const Page page = m_pages[size_t(pageIndex)];
    m_mm = painter.device()->logicalDpiX() / 25.4;
    const QSizeF usable = m_layout.usableSize();
    const int firstRow = page.count > 0 ? m_data.visibleRow(page.first)
                                        : (m_data.visibleCount() > 0 ? m_data.visibleRow(0) : -1);

    if (m_layout.header.height > 0) {
        ReportBand header = m_layout.header;
        if (m_layout.beforePageBand)
            m_layout.beforePageBand(header, m_data, firstRow);
        paintBand(painter, header, QPointF(0, 0), usable.width(), firstRow);
    }

    ReportBand band = m_layout.detail;
    if (m_layout.columns > 1) {
        const int perColumn = rowsPerColumn();
        const double width = usable.width() / m_layout.columns;
        for (int j = 0; j < page.count; ++j) {
            const int row = m_data.visibleRow(page.first + j);
            if (m_layout.beforeDetail)
                m_layout.beforeDetail(band, m_data, row);
            const QPointF origin((j / perColumn) * width,
                                 m_layout.header.height + (j % perColumn) * band.height);
            paintBand(painter, band, origin, width, row);
        }
    } else {
        double y = m_layout.header.height;
        for (int j = 0; j < page.count; ++j) {
            const int row = m_data.visibleRow(page.first + j);
            if (m_layout.beforeDetail)
                m_layout.beforeDetail(band, m_data, row);
            paintBand(painter, band, QPointF(0, y), usable.width(), row);
            y += band.height;
        }
    }

    if (m_layout.footer.height > 0) {
        ReportBand footer = m_layout.footer;
        if (m_layout.beforePageBand)
            m_layout.beforePageBand(footer, m_data, firstRow);
        paintBand(painter, footer, QPointF(0, usable.height() - footer.height), usable.width(), firstRow);
    }
}

bool ReportRenderer::paint(QPagedPaintDevice &device, const std::function<bool(int, int)> &progress)
{
    device.setPageLayout(m_layout.pageLayout(device.pageLayout().pageSize()));
    const int count = pageCount();
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            device.newPage();
        paintPage(painter, i);
        if (progress && !progress(i + 1, count)) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

bool ReportRenderer::writePdf(const QString &fileName, const std::function<bool(int, int)> &progress)
{
    QPdfWriter writer(fileName);
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("Korvena"));
    writer.setTitle(m_layout.title);
    if (!paint(writer, progress))
        return false;
    return QFileInfo(fileName).size() > 0;
}

void ReportRenderer::paintBand(QPainter &painter, ReportBand &band, const QPointF &origin, double width,
                               int row)
{
    if (band.height <= 0)
        return;
    if (band.rule != BandRule::None) {
        const double y = origin.y() + (band.rule == BandRule::Top ? 0 : band.height);
        painter.setPen(QPen(band.ruleColor, ThinRule * m_mm));
        painter.drawLine(QPointF(origin.x() * m_mm, y * m_mm),
                         QPointF((origin.x() + width) * m_mm, y * m_mm));
    }
    for (const ReportElement &e : std::as_const(band.elements))
        if (e.enabled)
            paintElement(painter, e, origin, width, row);
}

int ReportRenderer::column(const Dataset &rows, const QString &field) const
{
    QHash<QString, int> &cache = &rows == &m_data ? m_dataColumns : m_letterheadColumns;
    auto it = cache.constFind(field);
    if (it != cache.constEnd())
        return *it;
    const int col = rows.fieldIndex(field);
    cache.insert(field, col);
    return col;
}

QString ReportRenderer::elementText(const ReportElement &e, int row) const
{
    switch (e.kind) {
    case ElementKind::Text:
        return e.text;
    case ElementKind::PageNumber:
        return QStringLiteral("oldal: ") + QString::number(m_page + 1);
    case ElementKind::PrintTime:
        return m_printTime.toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
    case ElementKind::Title:
        return m_layout.title;
    case ElementKind::Field:
    case ElementKind::Ean8: {
        const Dataset *rows = e.source == FieldSource::Letterhead ? m_letterhead : &m_data;
        if (!rows)
            return {};
        const int r = e.source == FieldSource::Letterhead ? 0 : row;
        const int col = column(*rows, e.field);
        if (col < 0 || r < 0 || r >= rows->rowCount())
            return {};
        return rows->displayText(r, col);
    }
    default:
        return {};
    }
}

const QList<QRectF> &ReportRenderer::bars(const QString &code)
{
    auto it = m_bars.find(code);
    if (it == m_bars.end())
        it = m_bars.insert(code, Ean8Bars(code));
    return *it;
}

void ReportRenderer::paintElement(QPainter &painter, const ReportElement &e, const QPointF &origin,
                                  double width, int row)
{
    const double k = m_mm;
    QRectF r = e.rect.translated(origin);
    switch (e.kind) {
    case ElementKind::RuleBox: {
        painter.setPen(QPen(e.color, ThinRule * k));
        painter.drawLine(QPointF(r.left() * k, r.top() * k), QPointF(r.right() * k, r.top() * k));
        painter.drawLine(QPointF(r.left() * k, r.bottom() * k), QPointF(r.right() * k, r.bottom() * k));
        return;
    }
    case ElementKind::DottedLine: {
        QPen pen(e.color, ThinRule * k, Qt::DotLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(r.left() * k, r.top() * k), QPointF(r.right() * k, r.top() * k));
        return;
    }
    case ElementKind::Image: {
        if (e.image.isNull())
            return;
        // Natural size, shrunk to the box when larger, never stretched.
        const double dpm = e.image.dotsPerMeterX() > 0 ? e.image.dotsPerMeterX() / 1000.0 : 96 / 25.4;
        QSizeF size(e.image.width() / dpm, e.image.height() / dpm);
        if (size.width() > r.width() || size.height() > r.height())
            size.scale(r.size(), Qt::KeepAspectRatio);
        const QRectF target(r.center().x() - size.width() / 2, r.center().y() - size.height() / 2,
                            size.width(), size.height());
        painter.drawImage(
            QRectF(target.left() * k, target.top() * k, target.width() * k, target.height() * k), e.image);
        return;
    }
    case ElementKind::Ean8: {
        const QList<QRectF> &b = bars(elementText(e, row));
        if (b.isEmpty())
            return;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (const QRectF &bar : b)
            painter.drawRect(QRectF((r.left() + bar.left() * r.width()) * k, r.top() * k,
                                    bar.width() * r.width() * k, r.height() * k));
        painter.setBrush(Qt::NoBrush);
        return;
    }
    default:
        break;
    }

    const QString text = elementText(e, row);
    if (text.isEmpty())
        return;
    painter.setFont(e.font);
    painter.setPen(e.color);
    const QFontMetricsF fm(e.font, painter.device());
    if (r.height() <= 0)
        r.setHeight(fm.height() / k);
    if (e.autoSize) {
        const double w = fm.horizontalAdvance(text) / k + 0.2;
        r.setWidth(e.rect.width() > 0 ? qMax(e.rect.width(), w) : w);
    }
    switch (e.bandAlign) {
    case BandAlign::Left:
        r.moveLeft(origin.x());
        break;
    case BandAlign::Right:
        r.moveLeft(origin.x() + width - r.width());
        break;
    case BandAlign::Centre:
        r.moveLeft(origin.x() + (width - r.width()) / 2);
        break;
    case BandAlign::None:
        break;
    }
    int flags = int(e.textAlign) | Qt::AlignTop;
    if (e.wordWrap)
        flags |= Qt::TextWordWrap;
    // Text beyond a fixed box is clipped by drawText itself.
    painter.drawText(QRectF(r.left() * k, r.top() * k, r.width() * k, r.height() * k), flags, text);
}
