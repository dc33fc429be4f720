#include "register/OnlineStore.h"

#include "common/Encoding.h"
#include "common/SqlText.h"
#include "core/AppFolders.h"
#include "core/HttpTransfer.h"
#include "db/Dataset.h"
#include "db/DbHelpers.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace OnlineStore {

QString refusal(const QString &fileName, qint64 responsibleClient)
{
    if (fileName.isEmpty())
        return QStringLiteral("Nincs file feltöltve.");
    const QString flag = SelectText(QStringLiteral("SELECT kellsorvika FROM ugyfel WHERE ugyfel=") +
                                        QString::number(responsibleClient) + QLatin1Char(';'),
                                    QString());
    if (flag != QLatin1String("I"))
        return QStringLiteral("Ehhez az ügyintézőhöz nincs beállítva Sorvika kapcsolat.");
    return QString();
}

QString addStatement(qint64 document, const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? fileName.mid(dot) : QString();
    return QStringLiteral("CALL sp_svadd(") + QString::number(document) + QLatin1Char(',') +
           SqlLiteral(fileName) + QLatin1Char(',') + SqlLiteral(MimeType(extension)) + QStringLiteral(");");
}

QString requestAddress(const QString &loadPage, qint64 document, quint32 random)
{
    return loadPage + QStringLiteral("?iktato=") + QString::number(document) + QStringLiteral("&ids=") +
           QString::number(random);
}

QString registerFile(qint64 document, const QString &fileName, const std::function<void(int)> &progress)
{
    const QString loadPage = SelectText(QStringLiteral("SELECT betoltphp FROM sv_beallit;"), QString());
    if (progress)
        progress(1);
    ExecSql(addStatement(document, fileName));
    if (progress)
        progress(5);
    return requestAddress(loadPage, document, QRandomGenerator::global()->bounded(2147483647u));
}

QString answerFile()
{
    return AppFolders::current().dataFolder + QStringLiteral("/kesz.txt");
}

void upload(qint64 document, const QString &fileName, const std::function<void(int)> &progress)
{
    const QString address = registerFile(document, fileName, progress);
    HttpTransfer request;
    request.get(address, answerFile());
}

Settings loadSettings()
{
    Settings s;
    const Dataset data = db().query(
        QStringLiteral("SELECT sv_beallit, targy, felado, szoveg, betoltphp, torolphp FROM sv_beallit "
                       "ORDER BY sv_beallit LIMIT 1;"));
    if (data.rowCount() == 0)
        return s;
    s.key = int(data.toInt(0, 0, 0));
    s.targy = data.text(0, 1);
    s.felado = data.text(0, 2);
    s.szoveg = data.text(0, 3);
    s.betoltphp = data.text(0, 4);
    s.torolphp = data.text(0, 5);
    return s;
}

void saveSettings(const Settings &s)
{
    if (s.key == 0) {
        ExecSql(
            QStringLiteral("INSERT INTO sv_beallit (targy, felado, szoveg, betoltphp, torolphp) VALUES (") +
            SqlLiteral(s.targy) + QLatin1Char(',') + SqlLiteral(s.felado) + QLatin1Char(',') +
            SqlLiteral(s.szoveg) + QLatin1Char(',') + SqlLiteral(s.betoltphp) + QLatin1Char(',') +
            SqlLiteral(s.torolphp) + QStringLiteral(");"));
        return;
    }
    ExecSql(QStringLiteral("UPDATE sv_beallit SET targy=") + SqlLiteral(s.targy) +
            QStringLiteral(", felado=") + SqlLiteral(s.felado) + QStringLiteral(", szoveg=") +
            SqlLiteral(s.szoveg) + QStringLiteral(", betoltphp=") + SqlLiteral(s.betoltphp) +
            QStringLiteral(", torolphp=") + SqlLiteral(s.torolphp) + QStringLiteral(" WHERE sv_beallit=") +
            QString::number(s.key) + QLatin1Char(';'));
}

} // namespace OnlineStore
