#pragma once

#include "db/Dataset.h"

#include <QDate>
#include <QStringList>

class Connection;

// The row sets the reports print, read on the given connection.
namespace ReportData {

// vw_tulajdonos: the owner's letterhead, read from its first row.
Dataset letterhead(Connection &connection);

// The main list's query with the period (and, for directions 0 to 2, the
// direction) appended to its WHERE line; unchanged when it has none.
QString periodSql(QStringList listLines, int direction, const QDate &from, const QDate &to);
// A list query run again, its fields labelled like the list's.
Dataset documents(Connection &connection, const QString &sql);
// Hides the rows not marked for printing (nyomtatni = 'I').
void keepMarkedOnly(Dataset &rows);

// sp_kiadott for the user, with iktatoaz and irany_nev computed for every row.
Dataset lentOut(Connection &connection, qint64 user);
// 0123/05/01/2024: the key with at least four digits, the numbers with two, the year of
// arrival (1899 without a date).
QString lentOutIdentifier(qint64 document, qint64 mainNumber, qint64 subNumber, const QDate &arrival);
QString directionName(int direction);

// One document of vw_iktato (0: none).
Dataset folderCover(Connection &connection, qint64 document);

// sp_boritek for the client: the addressee row.
Dataset addressee(Connection &connection, int client);
// The first row of tulajdonos with varoscim (varos, ", ", cim) computed.
Dataset sender(Connection &connection);

// This session's vkod rows as the label prints read them: in azon order.
Dataset labels(Connection &connection);
// The seven digits a label encodes.
QString labelCode(qint64 document);
// This session's vkod rows become the label sheet up to the position (empty labels
// before it, the document's at it; nothing for a position below 1) and are read
// back, in one unit; other sessions' rows are not touched.
Dataset labelSheet(Connection &connection, qint64 document, const QString &name, int position);
// The same for the one label of a print on the document.
Dataset documentLabel(Connection &connection, qint64 document, const QString &name);
// The width of vkod.vkod_nev; longer names are cut to it.
inline constexpr int LabelNameWidth = 50;

} // namespace ReportData
