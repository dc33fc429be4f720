#include "register/AttachmentTextStore.h"

#include "common/SqlText.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "register/content/AttachmentText.h"

namespace AttachmentTextStore {

bool write(qint64 attachment, const QString &text, const QString &method)
{
    // The reader cleans its text already; cleaning again keeps a caller's slip from
    // failing the statement on a character latin2 cannot carry.
    const QString clean = korvena::content::indexableText(text);
    bool written = false;
    RunUnit([&] {
        // Taken from the attachment's own row, so a row deleted meanwhile leaves no orphan text.
        db().exec(QStringLiteral("INSERT INTO iktato_szoveg (iktato_file, iktato, szoveg, olvasva, modszer) "
                                 "SELECT iktato_file, iktato, ") +
                  SqlLiteral(clean) + QStringLiteral(", NOW(), ") + SqlLiteral(method.left(10)) +
                  QStringLiteral(" FROM iktato_file WHERE iktato_file=") + QString::number(attachment) +
                  QStringLiteral(" ON DUPLICATE KEY UPDATE iktato=VALUES(iktato), szoveg=VALUES(szoveg), "
                                 "olvasva=VALUES(olvasva), modszer=VALUES(modszer);"));
        // A row read again to the same text and second counts as unchanged (0 rows).
        written = db().affectedRows() > 0 ||
                  db().selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato_szoveg WHERE iktato_file=") +
                                   QString::number(attachment))
                          .toInt() > 0;
    });
    return written;
}

QList<Pending> pending(bool all)
{
    const Dataset rows = db().query(
        QStringLiteral("SELECT f.iktato_file, f.iktato, COALESCE(i.csoport, 0), f.filenev, f.origfilenev "
                       "FROM iktato_file f LEFT JOIN iktato i ON i.iktato=f.iktato ") +
        (all ? QString()
             : QStringLiteral("LEFT JOIN iktato_szoveg s ON s.iktato_file=f.iktato_file "
                              "WHERE s.iktato_file IS NULL ")) +
        QStringLiteral("ORDER BY f.iktato_file;"));
    QList<Pending> list;
    list.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r)
        list.append({rows.toInt(r, 0, 0), rows.toInt(r, 1, 0), int(rows.toInt(r, 2, 0)), rows.text(r, 3),
                     rows.text(r, 4)});
    return list;
}

void remove(qint64 attachment)
{
    db().exec(QStringLiteral("DELETE FROM iktato_szoveg WHERE iktato_file=") + QString::number(attachment) +
              QLatin1Char(';'));
}

} // namespace AttachmentTextStore
