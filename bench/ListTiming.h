#pragma once
// The main list read as the window reads it, timed.
#include "core/Session.h"
#include "db/Connection.h"
#include "register/DocumentListQuery.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"

#include <QApplication>
#include <QElapsedTimer>

namespace bench {

struct ListTiming
{
    double firstScreen = 0; // seconds until the first screen was painted
    double whole = 0;       // seconds until every row was in the model
};

// The model emptied, then sql streamed into it with the list's labels.
inline ListTiming timeListReading(QApplication &app, DocumentListModel &model, DocumentListView &view,
                                  const ConnectionParams &params, const QString &sql)
{
    model.reload([](Dataset &data) { data.reset(); });
    app.processEvents();
    QElapsedTimer timer;
    timer.start();
    model.stream(params, sql, [](Dataset &data) { applyDocumentLabels(data, session().settings); });
    view.viewport()->repaint();
    ListTiming t;
    t.firstScreen = timer.nsecsElapsed() / 1e9;
    while (model.isLoading())
        app.processEvents(QEventLoop::WaitForMoreEvents, 50);
    t.whole = timer.nsecsElapsed() / 1e9;
    return t;
}

} // namespace bench
