#pragma once

#include "common/ui/Dialog.h"
#include "db/EditRecord.h"

#include <QList>
#include <functional>
#include <optional>
#include <utility>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QGroupBox;
class QSpinBox;

// frm_Beallit: the register's settings row (beallit) with four settings of
// the workstation. The controls edit the row's record as the user changes
// them; "OK" writes what changed, "Mégsem" writes nothing.
class SettingsDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Beallit"};
    // Picks the default group: its key and name, or nothing when closed without choosing.
    using GroupPicker = std::function<std::optional<std::pair<int, QString>>(QWidget *parent)>;

    explicit SettingsDialog(QWidget *parent = nullptr);

    // For administrators only (others get the refusal). Whichever way the
    // screen closes, the settings are loaded again into session().settings and
    // any group-folder error is shown; the caller then re-applies their effects.
    // False when the right was refused (nothing else happened).
    static bool run(QWidget *parent);

    // The picker behind the default group's button; inert until one is set.
    static void setGroupPicker(GroupPicker picker);

    // "OK" (also Ctrl+Enter).
    void accept() override;

private:
    QWidget *generalTab();
    QWidget *documentsTab();
    QWidget *displayedFieldsTab();
    QWidget *listFieldsTab();
    QWidget *captionsTab();
    QWidget *clipboardTab();

    QCheckBox *flagBox(const QString &caption, const QString &column);
    QLineEdit *textEdit(const QString &column);
    QComboBox *columnChoice(const QString &column);
    QWidget *folderEdit(const QString &column, const QString &caption);
    QGroupBox *checkGroup(const QString &title, const QStringList &captions, const QString &namePrefix,
                          QList<QCheckBox *> &boxes);

    void loadRow();
    void pickGroup();
    void saveRow();

    EditRecord m_original;
    EditRecord m_record;
    bool m_newRow = false;

    QList<QCheckBox *> m_flagBoxes;
    QList<QLineEdit *> m_textEdits;
    QList<QComboBox *> m_columnChoices;
    QSpinBox *m_hatidfigyel = nullptr;
    QLineEdit *m_groupName = nullptr;
    QComboBox *m_printer = nullptr;
    QCheckBox *m_teljesKep = nullptr;
    QCheckBox *m_vanFigyu = nullptr;
    QList<QCheckBox *> m_displayed; // 17 positions of megjeleno_adatok
    QList<QCheckBox *> m_clipboard; // the first 14 positions of MasolMezok
};
