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

QString lendStatement(qint64 document, const QDate &date, const QString &name);
QString takeBackStatement(qint64 document);

// The names ever lent to, sorted by the server; empty and NULL names give one empty entry.
QStringList namesQuery();
QStringList names();

void lend(qint64 document, const QDate &date, const QString &name);
void takeBack(qint64 document);

} // namespace Lending
