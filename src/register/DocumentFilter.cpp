#include "register/DocumentFilter.h"

#include "common/SqlText.h"

void DocumentFilter::clear()
{
    type = 0;
    otherGroup = 0;
    group = 0;
    expiredOnly = false;
}

QString DocumentFilter::compose(int dir, int userCode) const
{
    const QString user = QString::number(userCode);
    QString c = QStringLiteral("(torolve='N') AND ");
    if (type > 0)
        c += QStringLiteral("(tipus = ") + QString::number(type) + QStringLiteral(") AND ");
    if (otherGroup > 0)
        c += QStringLiteral("(egyebcsop = ") + QString::number(otherGroup) + QStringLiteral(") AND ");
    if (group > 0)
        c += QStringLiteral("(csoport = ") + QString::number(group) + QStringLiteral(") AND ");
    if (expiredOnly && dir == Other)
        c += QStringLiteral("(dat_hatid <= CURDATE()) AND ");
    if (year > 0)
        c += QStringLiteral("(YEAR(dat_erk)=") + QString::number(year) + QStringLiteral(") AND ");
    switch (dir) {
    case Incoming:
    case Outgoing:
    case Other:
        c += QStringLiteral("(irany=") + QString::number(dir) + QStringLiteral(") AND (fcs=") + user +
             QLatin1Char(')');
        break;
    default:
        c += QStringLiteral("(fcs=") + user + QLatin1Char(')');
        break;
    }
    return c + entryPiece();
}

QString DocumentFilter::entryPiece() const
{
    switch (entry) {
    case FilterEntry::Today:
        return QStringLiteral(" AND (dat_erk=CURDATE())");
    case FilterEntry::MarkedForPrint:
        return QStringLiteral(" AND (nyomtatni='I')");
    case FilterEntry::MainNumber:
        return QStringLiteral(" AND (az1=") + QString::number(mainNumber) + QLatin1Char(')');
    case FilterEntry::LentOut:
        return QStringLiteral(" AND (kolcsonadva='I')");
    case FilterEntry::LastWeek:
        return QStringLiteral(" AND (dat_erk>=DATE_ADD(CURDATE(), INTERVAL -7 DAY))");
    case FilterEntry::Period:
        return QStringLiteral(" AND (dat_erk BETWEEN ") + SqlDate(periodStart) + QStringLiteral(" AND ") +
               SqlDate(periodEnd) + QLatin1Char(')');
    case FilterEntry::Reminders:
        return QStringLiteral(" AND (figy_szoveg IS NOT NULL)");
    case FilterEntry::NoAttachment:
        return QStringLiteral(" AND (iktato NOT IN (SELECT DISTINCT iktato FROM iktato_file))");
    default:
        return QString();
    }
}

QString filterEntryCaption(FilterEntry entry)
{
    switch (entry) {
    case FilterEntry::None:
        return QStringLiteral("Nincs szűrés");
    case FilterEntry::Today:
        return QStringLiteral("Csak a mai nap");
    case FilterEntry::MarkedForPrint:
        return QStringLiteral("Nyomtatásra jelöltek");
    case FilterEntry::MainNumber:
        return QStringLiteral("Főszámra");
    case FilterEntry::LentOut:
        return QStringLiteral("Kiadottak");
    case FilterEntry::LastWeek:
        return QStringLiteral("Csak az utolsó hét");
    case FilterEntry::Period:
        return QStringLiteral("Időszak");
    case FilterEntry::Type:
        return QStringLiteral("Típusra");
    case FilterEntry::Expired:
        return QStringLiteral("Lejártak");
    case FilterEntry::Group:
        return QStringLiteral("Csoportra");
    case FilterEntry::Reminders:
        return QStringLiteral("Figyelmeztetésekre");
    case FilterEntry::NoAttachment:
        return QStringLiteral("Ahol nincs csatolt file");
    case FilterEntry::OtherGroup:
        return QStringLiteral("Egyéb csoportra");
    }
    return QString();
}

QString filterEntryActionName(FilterEntry entry)
{
    return QStringLiteral("aSzur") + QString::number(int(entry));
}

const QStringList &documentSearchExpressions()
{
    static const QStringList expressions = {
        QStringLiteral("targy"),          QStringLiteral("ugyf_kitol_nev"),
        QStringLiteral("ugyf_kinek_nev"), QStringLiteral("ugyf_intezkedesre_nev"),
        QStringLiteral("hivszam"),        QStringLiteral("projekt_nev"),
        QStringLiteral("munkaszam_nev"),  QStringLiteral("csoport_nev"),
        QStringLiteral("kulcsszavak"),    QStringLiteral("CONVERT(iktatoaz USING latin2)"),
    };
    return expressions;
}

QString documentSearchPiece(const QString &text)
{
    static const QString fields = documentSearchExpressions().join(QLatin1Char(';'));
    return SearchCondition(fields, text, true);
}

bool isBarcodeLength(const QString &text)
{
    return text.size() == 8;
}

std::optional<int> barcodeDocumentKey(const QString &text)
{
    if (!isBarcodeLength(text))
        return std::nullopt;
    bool ok = false;
    const int key = text.left(7).toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return key;
}

int yearOfTabCaption(const QString &caption)
{
    bool ok = false;
    const int year = caption.toInt(&ok, 10);
    return ok && year > 0 ? year : -1;
}
