#pragma once

// Reading backups back the way an administrator would: with the mariadb client.
#include "TestDatabase.h"
#include "core/DatabaseBackup.h"
#include "db/Connection.h"

#include <QMap>
#include <QProcess>
#include <QTest>

namespace BackupFixture {

// Runs the script file through the mariadb client into the database, as a user would:
// no option about character sets or modes, only where the server is. "" on success,
// else its error output.
inline QString loadWithClient(const QString &database, const QString &scriptFile)
{
    const ConnectionParams p = TestDatabase::serverParams();
    QProcess client;
    client.setStandardInputFile(scriptFile);
    client.start(QStringLiteral("mariadb"), {QStringLiteral("--no-defaults"), QStringLiteral("-h") + p.host,
                                             QStringLiteral("-P") + QString::number(p.port),
                                             QStringLiteral("-u") + p.user, QStringLiteral("-p") + p.password,
                                             database});
    if (!client.waitForFinished(120000))
        return QStringLiteral("the mariadb client did not finish");
    if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0)
        return QString::fromLocal8Bit(client.readAllStandardError());
    return {};
}

// The file's permission bits as the system shows them ("600").
inline QString modeOf(const QString &file)
{
    QProcess stat;
    stat.start(QStringLiteral("stat"), {QStringLiteral("-c"), QStringLiteral("%a"), file});
    stat.waitForFinished(10000);
    return QString::fromLatin1(stat.readAllStandardOutput()).trimmed();
}

// CHECKSUM TABLE of every base table of the connection's database.
inline QMap<QString, QString> checksums(Connection &c, const QString &database)
{
    QMap<QString, QString> sums;
    const Dataset list =
        c.query(QStringLiteral("SHOW FULL TABLES FROM `%1` WHERE Table_type = 'BASE TABLE'").arg(database));
    for (int r = 0; r < list.rowCount(); ++r) {
        const QString t = list.text(r, 0);
        const Dataset d = c.query(QStringLiteral("CHECKSUM TABLE `%1`.`%2`").arg(database, t));
        sums.insert(t, d.text(0, 1));
    }
    return sums;
}

} // namespace BackupFixture
