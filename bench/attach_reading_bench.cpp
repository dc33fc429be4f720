// The attach of a 1 MiB PDF with and without the text reader busy on its worker
// thread: the attach must not wait for the reading. Each figure is the median of
// several attaches to one document of the given register (rows are removed after).
//   attach_reading_bench --port P --database NAME [--runs N] [--bytes B]

#include "BenchSupport.h"

#include "core/ProgramSettings.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "register/AttachmentTextQueue.h"
#include "register/Attachments.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    bench::ServerOptions server(parser, 21);
    const QCommandLineOption bytesOption(QStringLiteral("bytes"), QStringLiteral("File size."),
                                         QStringLiteral("n"), QString::number(1024 * 1024));
    parser.addOption(bytesOption);
    parser.process(app);

    Connection connection;
    connection.open(server.params());
    Connection::setCurrent(&connection);
    session().user.code = server.userCode();
    QTemporaryDir dir;
    ProgramSettings settings;
    settings.mentesutvonal = dir.filePath(QStringLiteral("tar"));
    QDir().mkpath(settings.mentesutvonal);
    const QString source = dir.filePath(QStringLiteral("Level.pdf"));
    {
        QByteArray data(parser.value(bytesOption).toLongLong(), Qt::Uninitialized);
        QRandomGenerator generator(1);
        for (char &c : data)
            c = char(generator.bounded(256));
        data.replace(0, 8, "%PDF-1.7");
        QFile f(source);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            return 1;
    }
    const qint64 document = 999999999;
    const auto attachMs = [&](bool read) {
        QList<double> times;
        for (int i = 0; i < server.runs(); ++i) {
            QElapsedTimer t;
            t.start();
            const Attachments::Stored stored = Attachments::store(settings, document, 0, source, {});
            if (read)
                AttachmentTextQueue::instance().enqueue(stored.key, source);
            times << double(t.nsecsElapsed()) / 1e6;
        }
        return bench::median(times);
    };

    std::atomic_bool busy{true};
    // A reading that takes a core as OCR does, until the run is over.
    AttachmentTextQueue::setExtractorForTests(
        [&](const QByteArray &, const QString &, const std::atomic_bool *stop) {
            std::atomic<quint64> spin{0};
            while (busy && !(stop && *stop))
                ++spin;
            return korvena::content::ExtractedText{};
        });
    attachMs(false); // warm the page cache and the server
    const double plain = attachMs(false);
    const double reading = attachMs(true);
    busy = false;
    AttachmentTextQueue::instance().shutdown();
    ExecSql(
        QStringLiteral("DELETE FROM iktato_szoveg WHERE iktato=%1; DELETE FROM iktato_file WHERE iktato=%1;")
            .arg(document));
    bench::out() << "attach " << parser.value(bytesOption) << " bytes, median of " << server.runs() << ":\n"
                 << "  without the reader:        " << QString::number(plain, 'f', 2) << " ms\n"
                 << "  with the reader busy:      " << QString::number(reading, 'f', 2) << " ms\n";
    bench::out().flush();
    return 0;
}
