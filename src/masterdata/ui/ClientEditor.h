#pragma once

#include "db/EditRecord.h"
#include "masterdata/MasterData.h"
#include "masterdata/ui/EditorBase.h"

#include <QHash>

class QCheckBox;
class QLabel;
class QLineEdit;

// frm_TorzsUgyfel_Szerkeszt: one client. The town is looked up from the postal code when
// the postal-code box is left and the town is still empty.
class EditClientDialog : public EditorBase
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_TorzsUgyfel_Szerkeszt"};
    explicit EditClientDialog(QWidget *parent);

    // Shows the client (key -1: a new one preset by the kind) and saves it when accepted;
    // its key, or -1.
    static int edit(QWidget *parent, int key, ClientKind kind);

    void setRecord(const EditRecord &record);
    // The record with the values of the boxes; compare with the one set to see what changed.
    EditRecord record() const;

    QLineEdit *lineEdit(const QString &column) const { return m_edits.value(column); }
    QCheckBox *check(const QString &column) const { return m_checks.value(column); }
    // Which decorative picture shows (0, 1, 2).
    int pictureIndex() const { return m_pictureIndex; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void lookUpTown();

    EditRecord m_record;
    QHash<QString, QLineEdit *> m_edits;
    QHash<QString, QCheckBox *> m_checks;
    QLabel *m_picture = nullptr;
    int m_pictureIndex = 0;
};
