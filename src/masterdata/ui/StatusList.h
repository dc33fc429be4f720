#pragma once

#include "core/ui/ListScreen.h"
#include "db/EditRecord.h"
#include "masterdata/ui/EditorBase.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// frm_TorzsStatusz: the ten statuses a document may carry.
class StatusList : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_TorzsStatusz"};
    explicit StatusList(QWidget *parent);

    void openAt(int initialKey);

private:
    void edit(int key);
    void deleteRow();
};

// frm_TorzsStatusz_Szerkeszt: one status; its number must be 0..9.
class StatusEditor : public EditorBase
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_TorzsStatusz_Szerkeszt"};
    explicit StatusEditor(QWidget *parent);

    // Shows the status (key -1: a new one with the next number proposed) and saves it when
    // accepted; the saved number, or -1.
    static int edit(QWidget *parent, int key);

    void load(int key);
    EditRecord record() const;
    QLineEdit *numberEdit() const { return m_number; }
    QLineEdit *nameEdit() const { return m_name; }
    QComboBox *colourBox() const { return m_colour; }
    QCheckBox *doneBox() const { return m_done; }

protected:
    bool mayClose() override;

private:
    EditRecord m_record;
    QLineEdit *m_number = nullptr;
    QLineEdit *m_name = nullptr;
    QComboBox *m_colour = nullptr;
    QCheckBox *m_done = nullptr;
};
