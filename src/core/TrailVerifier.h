#pragma once

#include <QString>
#include <QtGlobal>

class Connection;

// Checks the server-written trail of a register (iktato_nyom): the hash chain, its head,
// and that the documents and attachments hold what the trail says they hold.
namespace TrailVerifier {

struct Head
{
    qint64 count = 0;
    QString hash;
};

// "COUNT:HASH"; false when the text is not of that form.
bool parseHead(const QString &text, Head &head);
QString headText(const Head &head);

struct Result
{
    bool ok = false;
    QString problem; // the first break, in words; empty when ok
    Head head;       // the chain's head when ok
};

// trail and rows are two connections to the register: the trail and the tables are read
// side by side, one key after the other, so nothing is held for the whole register.
// With an expected head, the chain's row at that count must carry that hash.
Result verify(Connection &trail, Connection &rows, const Head *expected = nullptr);

// The SQL expression of a trail row's hash over its columns; the trigger's procedure
// computes the same over the values it writes.
QString hashExpression();

} // namespace TrailVerifier
