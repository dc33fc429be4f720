#pragma once

#include "masterdata/ui/EditorBase.h"

class QLabel;
class QLineEdit;

// frm_Torzsadat_Szerkeszt: the name of one row of a generic master-data table.
class MasterRowEditor : public EditorBase
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Torzsadat_Szerkeszt"};
    MasterRowEditor(QWidget *parent, const QString &table, const QString &caption);

    // Shows the row (key -1: a new row) and saves it when accepted; its key, or -1.
    static int edit(QWidget *parent, int key, const QString &table, const QString &caption);

    void load(int key);
    QString name() const;
    QLineEdit *nameEdit() const { return m_name; }
    QLabel *keyLabel() const { return m_key; }

private:
    QString m_table;
    QLineEdit *m_name = nullptr;
    QLabel *m_key = nullptr;
};
