#pragma once

#include "core/ui/ListScreen.h"
#include "masterdata/ui/EditorBase.h"
#include "masterdata/ui/Pickers.h"

class QLineEdit;

// frm_TorzsFoszam: the main numbers, as administration screen or picker.
class MainNumberList : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_TorzsFoszam"};
    MainNumberList(QWidget *parent, bool pickMode);

    void openAt(int initialKey);
    // foszam and foszam_nev of the current row (0 and "" on an empty list).
    PickResult result() const;

private:
    void edit(int key);
    void deleteRow();
};

// frm_TorzsFoszam_Szerkeszt: one main number; the number is the key and may be changed.
class MainNumberEditor : public EditorBase
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_TorzsFoszam_Szerkeszt"};
    explicit MainNumberEditor(QWidget *parent);

    // Shows the main number (key -1: a new one with the next number proposed) and saves it
    // when accepted; the saved number, or -1.
    static int edit(QWidget *parent, int key);

    void load(int key);
    QLineEdit *numberEdit() const { return m_number; }
    QLineEdit *nameEdit() const { return m_name; }

protected:
    // A number without a digit ("" or "-") would be saved as 0 or refused by the key.
    bool mayClose() override;

private:
    QLineEdit *m_number = nullptr;
    QLineEdit *m_name = nullptr;
};
