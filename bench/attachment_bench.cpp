// Attaching and opening a 10 MB file with scrambling on, next to a plain file
// copy of the same file. Each figure is the median of several runs, page cache warm.
//   attachment_bench [size-in-bytes] [runs]

#include "register/Attachments.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qsizetype size = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10 * 1024 * 1024;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 15;

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("Level.pdf"));
    {
        QByteArray data(size, Qt::Uninitialized);
        QRandomGenerator generator(1);
        for (qsizetype i = 0; i < size; ++i)
            data[i] = char(generator.bounded(256));
        QFile f(source);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != size)
            return 1;
    }
    // The same key the server gives: MD5 of the built-in word.
    const QByteArray key = QCryptographicHash::hash("pirkalo", QCryptographicHash::Md5).toHex();
    const QString copy = dir.filePath(QStringLiteral("copy.pdf"));
    const QString stored = dir.filePath(QStringLiteral("0000007-1.pdf"));
    const QString opened = dir.filePath(QStringLiteral("opened.pdf"));

    const double plain = medianMs(runs, [&] {
        QFile::remove(copy);
        QFile::copy(source, copy);
    });
    const double attach = medianMs(runs, [&] { Attachments::scrambleFile(source, stored, key, false); });
    const double open = medianMs(runs, [&] { Attachments::scrambleFile(stored, opened, key, true); });

    std::printf("file size                 %lld bytes, %d runs, medians\n", static_cast<long long>(size),
                runs);
    std::printf("plain file copy           %8.2f ms\n", plain);
    std::printf("attach, scrambled         %8.2f ms  (%.2fx)\n", attach, attach / plain);
    std::printf("open, scrambled           %8.2f ms  (%.2fx)\n", open, open / plain);
    return 0;
}
