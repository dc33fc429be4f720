#pragma once

#include "output/report/ReportRenderer.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

// Reads printed reports back with the real readers: pdftotext, pdfinfo, and
// pdftoppm with zbarimg for the barcodes.
namespace ReportPdf {

inline QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The page's text (from 1), or all pages' with 0. The fonts' ligatures ("ﬁ")
// come back as the letters they join.
inline QString text(const QString &pdf, int page = 0)
{
    QStringList args{QStringLiteral("-layout")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    return run(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"))
        .normalized(QString::NormalizationForm_KC);
}

inline QString info(const QString &pdf, const QString &key)
{
    const QString out = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpression re(QStringLiteral("^") + key + QStringLiteral(":\\s*(.*)$"),
                                QRegularExpression::MultilineOption);
    return re.match(out).captured(1).trimmed();
}

inline int pages(const QString &pdf)
{
    return info(pdf, QStringLiteral("Pages")).toInt();
}

// Width and height of the first page in millimetres.
inline QSizeF pageSizeMm(const QString &pdf)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("([\\d.]+) x ([\\d.]+) pts"))
                                          .match(info(pdf, QStringLiteral("Page size")));
    return QSizeF(m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72);
}

// The barcodes zbarimg reads on a page, or on the part of it given in mm (x, y, w, h).
inline QStringList barcodes(const QString &pdf, int page, const QRectF &mm = QRectF())
{
    QTemporaryDir dir;
    const int dpi = 300;
    QStringList args{QStringLiteral("-r"),   QString::number(dpi),         QStringLiteral("-f"),
                     QString::number(page),  QStringLiteral("-l"),         QString::number(page),
                     QStringLiteral("-png"), QStringLiteral("-singlefile")};
    if (!mm.isNull()) {
        const double px = dpi / 25.4;
        args << QStringLiteral("-x") << QString::number(int(mm.x() * px)) << QStringLiteral("-y")
             << QString::number(int(mm.y() * px)) << QStringLiteral("-W")
             << QString::number(int(mm.width() * px)) << QStringLiteral("-H")
             << QString::number(int(mm.height() * px));
    }
    const QString base = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), args << pdf << base);
    const QString out = run(QStringLiteral("zbarimg"), {QStringLiteral("-q"), base + QStringLiteral(".png")});
    QStringList codes = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    codes.sort();
    return codes;
}

} // namespace ReportPdf
