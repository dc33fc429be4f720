#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The filter entries of the document list, numbered like their actions aSzur0 .. aSzur12.
enum class FilterEntry
{
    None = 0,  // "Nincs szűrés"
    Today = 1, // "Csak a mai nap"
    MarkedForPrint = 2,
    MainNumber = 3,
    LentOut = 4,
    LastWeek = 5,
    Period = 6,
    Type = 7,
    Expired = 8,
    Group = 9,
    Reminders = 10,
    NoAttachment = 11,
    OtherGroup = 12,
};
inline constexpr int FilterEntryCount = 13;

// Directions of the list; the tabs select them in this order.
enum Direction
{
    Incoming = 0,
    Outgoing = 1,
    Other = 2,
    AllDirections = 3,
};

// The state of the document list: what the user chose to see. Composing the
// condition is pure text work, so every case can be checked without a server.
struct DocumentFilter
{
    int direction = Incoming;
    int year = 0;             // <= 0: all years
    int type = 0;             // <= 0: none
    int otherGroup = 0;       // <= 0: none
    int group = 0;            // <= 0: none
    bool expiredOnly = false; // counts only on the third direction tab
    FilterEntry entry = FilterEntry::None;
    int mainNumber = -1;
    QDate periodStart;
    QDate periodEnd;
    QString condition; // the last composed condition
    QString locateColumn = QStringLiteral("iktatoaz");

    // Type, other group and group to none, expired only off.
    void clear();

    // The condition for this state, the given direction and the session user:
    // the fixed pieces in their order, then the piece of the marked entry.
    QString compose(int direction, int userCode) const;
    // The marked entry's own piece (" AND (...)"), empty when it has none.
    QString entryPiece() const;
};

// The caption of a filter entry.
QString filterEntryCaption(FilterEntry entry);
// "aSzur" + number.
QString filterEntryActionName(FilterEntry entry);

// The search box's piece: every word must occur in one of the list's ten
// searchable expressions. Empty for a text without words.
QString documentSearchPiece(const QString &text);
// The ten expressions the search box looks in, in their order.
const QStringList &documentSearchExpressions();

// A scanned label gives eight characters: seven digits of the document key and
// a check digit. The key, or nothing when the text is not such a scan.
std::optional<int> barcodeDocumentKey(const QString &text);
// True when the search box's Enter should treat the text as a scan.
bool isBarcodeLength(const QString &text);

// A year tab's caption as the filter's year: -1 (all years) unless it is a positive integer.
int yearOfTabCaption(const QString &caption);
