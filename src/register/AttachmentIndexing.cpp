#include "register/AttachmentIndexing.h"

#include "register/content/AttachmentText.h"

namespace AttachmentIndexing {

Summary run(const ProgramSettings &settings, bool all, const Attachments::Download &download,
            const Progress &progress, const std::atomic_bool *stop)
{
    const QList<AttachmentTextStore::Pending> files = AttachmentTextStore::pending(all);
    Summary summary;
    summary.total = int(files.size());
    int done = 0;
    for (const AttachmentTextStore::Pending &file : files) {
        if (stop && *stop)
            break;
        ++done;
        QString outcome;
        bool failed = false;
        const Attachments::Read stored = Attachments::readStored(settings, file.storageName, file.group,
                                                                 download, AttachmentTextStore::MaxReadBytes);
        korvena::content::ExtractedText text;
        if (stored.ok) {
            text = korvena::content::extractText(stored.bytes, file.originalName, stop);
            if (stop && *stop)
                break;
        } else if (stored.message == QLatin1String("túl nagy")) {
            text.method = QString::fromLatin1(korvena::content::MethodNone);
        } else {
            failed = true;
            outcome = stored.message;
        }
        // A failing server stops the run: what was stored stays, the rest waits for the next one.
        if (!failed) {
            // Damaged files get their empty row too: reading them again gives the same.
            if (!AttachmentTextStore::write(file.attachment, text.text, text.method)) {
                failed = true;
                outcome = QStringLiteral("közben törölték");
            } else if (!text.error.isEmpty()) {
                failed = true;
                outcome = text.error;
            } else if (text.text.isEmpty()) {
                ++summary.empty;
                outcome = QStringLiteral("üres (%1)").arg(text.method);
            } else {
                ++summary.read;
                outcome = QStringLiteral("%1, %2 karakter").arg(text.method).arg(text.text.size());
            }
        }
        if (failed) {
            ++summary.failed;
            summary.failures
                << QStringLiteral("%1 (%2): %3").arg(file.storageName, file.originalName, outcome);
            outcome = QStringLiteral("HIBA: ") + outcome;
        }
        if (progress)
            progress(done, summary.total, file, outcome);
    }
    return summary;
}

} // namespace AttachmentIndexing
