// korvena-admin index-attachments: reads the text of attachments that have none yet.
#include "AdminCli.h"

#include "core/AppFolders.h"
#include "core/FtpTransfer.h"
#include "core/ProgramSettings.h"
#include "register/AttachmentIndexing.h"

#include <QElapsedTimer>

int adminIndexAttachments(const QStringList &args)
{
    QCommandLineParser parser;
    AdminCli::addConnectionOptions(parser);
    parser.addOption(
        {QStringLiteral("all"),
         QStringLiteral("Minden csatolt állományt újraolvas, azokat is, amelyeknek már van szövege.")});
    int exitCode = AdminCli::Ok;
    if (!AdminCli::parse(
            parser, args,
            QStringLiteral("A csatolt állományok szövegének beolvasása a tartalomkereséshez: azokat olvassa "
                           "be, amelyeknek még nincs szövege, a tárolási mappából (üres mentési útvonalnál "
                           "a KORVENA_DATA vagy az adatmappa Dok mappájából) vagy az FTP kiszolgálóról, a "
                           "titkosított másolatokat visszafejtve. Minden állomány szövege külön kerül "
                           "rögzítésre, így egy megszakított futás ott folytatódik, ahol abbamaradt.\n"
                           "Kilépési kód: 0, ha minden állomány sikerült; 1, ha valamelyik nem."),
            exitCode))
        return exitCode;
    const QString database = AdminCli::requiredDatabase(parser);
    if (database.isEmpty())
        return AdminCli::Usage;

    Connection connection;
    AdminCli::connect(connection, AdminCli::connectionParams(parser));
    CurrentConnectionScope current(&connection);
    const ProgramSettings settings = ProgramSettings::load(AppFolders::current());
    const FtpTarget ftp{settings.ftpHost, settings.ftpUser, settings.ftpPwd, settings.ftpMappa};
    const Attachments::Download download = [&ftp](const QString &remote, const QString &local,
                                                  QString *error) {
        FtpTransfer transfer(ftp);
        const bool ok = transfer.download(remote, local);
        if (!ok && error)
            *error = transfer.errorText();
        return ok;
    };

    QTextStream &o = AdminCli::out();
    o << "Csatolt állományok szövegének olvasása: " << database
      << (settings.isftp ? QStringLiteral(" (FTP: %1)").arg(settings.ftpHost)
                         : QStringLiteral(" (%1)").arg(StorageFolder(settings)))
      << "\n";
    o.flush();
    QElapsedTimer timer;
    timer.start();
    const AttachmentIndexing::Summary summary = AttachmentIndexing::run(
        settings, parser.isSet(QStringLiteral("all")), download,
        [&o](int done, int total, const AttachmentTextStore::Pending &file, const QString &outcome) {
            o << done << "/" << total << " " << file.storageName << " (" << file.originalName
              << "): " << outcome << "\n";
            o.flush();
        });
    o << "Kész (" << QString::number(double(timer.elapsed()) / 1000.0, 'f', 1) << " mp): " << summary.total
      << " állomány, beolvasva " << summary.read << ", üres " << summary.empty << ", sikertelen "
      << summary.failed << ".\n";
    if (!summary.failures.isEmpty()) {
        o << "Sikertelen:\n";
        for (const QString &f : summary.failures)
            o << "  " << f << "\n";
    }
    o.flush();
    return summary.failed == 0 ? AdminCli::Ok : AdminCli::Failure;
}
