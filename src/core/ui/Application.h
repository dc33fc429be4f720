#pragma once

#include <QApplication>

// The program's application object. A failure that escapes an event handler,
// a timer or an action ends up in notify(), which hands it to the unhandled-error
// handler with LastAction and LastSql; the event counts as not handled and the
// program runs on.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
