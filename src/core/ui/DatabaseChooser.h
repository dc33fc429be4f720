#pragma once

#include "common/ui/Dialog.h"
#include "core/ConnectionProfile.h"

class QListWidget;

// frm_AdatbazisNyit: the choice among the configured databases at start-up.
class DatabaseChooser : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_AdatbazisNyit"};
    DatabaseChooser(const QList<ProfileChoice> &choices, QWidget *parent = nullptr);

    // The chosen (tested) profile line, or the one just created with "Új";
    // empty when cancelled.
    QString chosenLine() const { return m_chosen; }

    static QString run(const QList<ProfileChoice> &choices, QWidget *parent);

    // "OK", Enter and Ctrl+Enter alike: tests the selected entry and closes
    // only when it connects.
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void newConnection();

private:
    QList<ProfileChoice> m_choices;
    QListWidget *m_list;
    QString m_chosen;
};
