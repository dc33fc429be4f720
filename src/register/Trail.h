#pragma once

#include <QString>
#include <QtGlobal>

#include <QList>

// The server's trail of one document's changes (iktato_nyom), as the journal viewer shows it.
namespace Trail {

struct Entry
{
    qint64 number = 0;   // sorszam: the place in the chain
    QString when;        // ido as the lists show times
    QString who;         // the user's name, or the server account for a change past the program
    QString action;      // "Felvétel", "Módosítás", "Törlés", "Kiinduló állapot"
    QString table;       // "Dokumentum" or "Csatolt file"
    QString changes;     // "column: old → new" lines
    bool outsideProgram = false;
};

QString query(qint64 document);
// The document's trail, oldest first.
QList<Entry> load(qint64 document);

QString actionText(const QString &code);
QString tableText(const QString &table);
// {"column": [old, new], ...} as "column: old → new" lines, null shown as empty; text that
// is no such object (a trail row edited by hand) is shown as it is.
QString changesText(const QString &json);

} // namespace Trail
