#pragma once

#include "register/AttachmentTextStore.h"
#include "register/Attachments.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

struct ProgramSettings;

// Reads the text of attachments that have none yet from their stored copies (an
// existing register indexed once, or files whose reading failed when attached).
// Every file's row commits on its own, so a stopped run goes on where it stopped.
namespace AttachmentIndexing {

struct Summary
{
    int total = 0;
    int read = 0;         // text stored
    int empty = 0;        // stored without text: nothing readable in it
    int failed = 0;       // not fetched or not stored (no row: the next run tries again), or damaged
    QStringList failures; // "storage name (original name): why"
};

// One file done: its place in the run and what came of it.
using Progress = std::function<void(int done, int total, const AttachmentTextStore::Pending &file,
                                    const QString &outcome)>;

// all: every attachment again, not only those without text.
Summary run(const ProgramSettings &settings, bool all, const Attachments::Download &download,
            const Progress &progress, const std::atomic_bool *stop = nullptr);

} // namespace AttachmentIndexing
