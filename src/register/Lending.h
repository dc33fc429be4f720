#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringList>

// Paper originals handed out and taken back (iktato.kolcsonadva, _dat, _kinek).
// Open to every user; no journal line.
namespace Lending {

// Only an exact 'I' counts as out and only an exact 'N' as in, so a document
// whose flag is NULL may be lent and may also be taken back.
bool refusesLending(QByteArrayView kolcsonadva);
bool refusesTakingBack(QByteArrayView kolcsonadva);
QString alreadyOutMessage();
QString notOutMessage();
QString takeBackQuestion();

// Another workstation may have lent or taken the document back since the list was read:
// the statements change only a document still in (or out), with the same exact-flag rule.
QString lendStatement(qint64 document, const QDate &date, const QString &name);
QString takeBackStatement(qint64 document);
QString lentMeanwhileMessage();
QString returnedMeanwhileMessage();

// The names ever lent to, sorted by the server; empty and NULL names give one empty entry.
QStringList namesQuery();
QStringList names();

// False when nothing changed: the document was lent (or taken back) meanwhile, or is gone.
[[nodiscard]] bool lend(qint64 document, const QDate &date, const QString &name);
[[nodiscard]] bool takeBack(qint64 document);

} // namespace Lending
