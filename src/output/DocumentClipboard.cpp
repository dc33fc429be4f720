#include "output/DocumentClipboard.h"

#include "db/Dataset.h"
#include "db/DbHelpers.h"

namespace {

struct Line
{
    int flag; // position in the flags, from 1
    const char *label;
    const char *column;
};

// The order of the block; the labels stay fixed whatever the settings call the fields.
const Line Lines[] = {
    {14, "Iktatószám: ", "iktatoaz"},
    {1, "Csoport: ", "csoport_nev"},
    {2, "Kitől: ", "ugyf_kitol_nev"},
    {3, "Kinek: ", "ugyf_kinek_nev"},
    {4, "Tároló: ", "tarolo"},
    {5, "Beérkezett: ", "dat_erk"},
    {6, "Határidő: ", "dat_hatid"},
    {7, "Megőrzés: ", "dat_megorzes"},
    {8, "Intézkedésre: ", "ugyf_intezkedesre_nev"},
    {9, "Hivatkozás: ", "hivszam"},
    {10, "Kulcsszavak: ", "kulcsszavak"},
    {11, "Projekt: ", "projekt_nev"},
    {12, "Munkaszám: ", "munkaszam_nev"},
    {13, "Típus: ", "tipus_nev"},
};

bool flagSet(const QString &flags, int position)
{
    return position <= flags.size() && flags.at(position - 1) == QLatin1Char('I');
}

} // namespace

QStringList documentBlock(const Dataset &list, int row, const QString &flags)
{
    QStringList lines;
    for (const Line &line : Lines) {
        if (!flagSet(flags, line.flag))
            continue;
        QString text = QString::fromUtf8(line.label);
        const int col = list.fieldIndex(QString::fromLatin1(line.column));
        if (row >= 0 && col >= 0)
            text += list.displayText(row, col);
        lines << text;
    }
    lines << QStringLiteral("-*-") << QString();
    return lines;
}

QString documentClipboardText(Dataset &list, const QString &flags, int markedCount)
{
    QStringList lines;
    if (markedCount <= 0) {
        lines = documentBlock(list, list.current(), flags);
    } else {
        const int keyCol = list.fieldIndex(u"iktato");
        const int markCol = list.fieldIndex(u"nyomtatni");
        const int current = list.current();
        const QVariant key = current >= 0 && keyCol >= 0 ? list.value(current, keyCol) : QVariant();
        const int n = list.visibleCount();
        for (int i = 0; markCol >= 0 && i < n; ++i) {
            const int row = list.visibleRow(i);
            if (list.raw(row, markCol) == "I" && !list.isNull(row, markCol))
                lines << documentBlock(list, row, flags);
        }
        list.first();
        if (key.isValid())
            list.locateValue(u"iktato", key);
    }
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    return text;
}

int markedDocumentCount()
{
    return SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE nyomtatni = 'I';"), 0);
}
