#pragma once

#include "common/ui/Dialog.h"
#include "register/DocumentEdit.h"

#include <QHash>
#include <QList>
#include <functional>

class DatasetModel;
class QAbstractButton;
class QAction;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTabWidget;
class QToolButton;

// The dialogs the editor and the questions of a new document open; tests replace them.
struct DocumentPickers
{
    std::function<int(QWidget *parent)> group; // -1: closed; 0: the user has no group
    std::function<DocumentChoice(QWidget *parent, int initialKey, ClientKind kind, const QString &title)>
        client;
    std::function<DocumentChoice(QWidget *parent, int initialKey)> mainNumber;
    std::function<DocumentChoice(QWidget *parent, int initialKey, MasterTable::Caller caller)> masterData;

    // The program's own screens.
    static DocumentPickers standard();
};
// The pickers the editor uses; the standard ones until something replaces them.
DocumentPickers &documentPickers();

// Registers a new document (key -1: the questions, then sp_iktato) or edits one in
// frm_Szerkeszt. The document's key after OK, -1 when cancelled.
qint64 OpenDocumentEditor(QWidget *parent, qint64 key, int direction);

// frm_Szerkeszt: "Szerkesztés" with the pages "Adatok", "Megjegyzés", "Másolatok" and
// "Csatolt dokumentumok". OK stores the edit (accept() refuses what cannot be stored).
class DocumentEditor : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Szerkeszt"};

    DocumentEditor(QWidget *parent, DocumentEdit edit);

    DocumentEdit &edit() { return m_edit; }
    bool trackingOn() const { return m_tracking; }
    // "Sorvikaba..." closed the screen: hand the document to the online store.
    bool sendToStoreRequested() const { return m_sendToStore; }

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildDataPage();
    QWidget *buildRemarkPage();
    QWidget *buildCopiesPage();
    QWidget *buildAttachmentsPage();
    QWidget *withButtons(QWidget *content, QPushButton **cancel = nullptr);
    QToolButton *pictureButton(const QString &name, const QString &hint);
    void applyVisibility();
    void applySettings();
    void loadControls();
    void showNames();
    void track(QLineEdit *box, const QString &column);
    void controlsToRecord();
    bool save();

    // Buttons of the data page.
    void pickMainNumber();
    void quickCommit();
    void pickClient(const QString &column, QLineEdit *nameBox, int which);
    void pickMaster(MasterTable::Caller caller, const QString &column, QLineEdit *nameBox);
    void pickGroup();
    void leaveMainNumber();
    void focusAfter(QWidget *widget);
    void sendToStore();

    // Copies.
    void openCopies();
    void addCopy();
    void deleteCopy();

    DocumentEdit m_edit;
    bool m_tracking = false;
    bool m_shown = false;
    bool m_sendToStore = false;

    QTabWidget *m_pages = nullptr;
    QLineEdit *m_iktato2 = nullptr;
    QLineEdit *m_az1 = nullptr;
    QLineEdit *m_az2 = nullptr;
    QToolButton *m_mainNumberButton = nullptr;
    QToolButton *m_quickCommit = nullptr;
    QComboBox *m_subject = nullptr;
    QLineEdit *m_from = nullptr;
    QLineEdit *m_to = nullptr;
    QLineEdit *m_forAction = nullptr;
    QLineEdit *m_group = nullptr;
    QButtonGroup *m_direction = nullptr;
    QList<QAbstractButton *> m_directionChoices;
    QComboBox *m_storage = nullptr;
    QDateEdit *m_arrival = nullptr;
    QDateEdit *m_deadline = nullptr;
    QDateEdit *m_retention = nullptr;
    QLineEdit *m_reference = nullptr;
    QLineEdit *m_project = nullptr;
    QLineEdit *m_otherGroup = nullptr;
    QLineEdit *m_workNumber = nullptr;
    QLineEdit *m_type = nullptr;
    QLineEdit *m_keywords = nullptr;
    QPushButton *m_storeButton = nullptr;
    QLabel *m_workNumberLabel = nullptr;
    QLabel *m_projectLabel = nullptr;
    QLabel *m_typeLabel = nullptr;
    QLabel *m_referenceLabel = nullptr;
    QLabel *m_storageLabel = nullptr;
    QPlainTextEdit *m_remark = nullptr;
    QTableView *m_copies = nullptr;
    DatasetModel *m_copiesModel = nullptr;
    QAction *m_addCopy = nullptr;
    QAction *m_deleteCopy = nullptr;
    QList<QPushButton *> m_okButtons;
    QPushButton *m_attachmentsCancel = nullptr;
    QList<QToolButton *> m_pictureButtons;
    QHash<QObject *, QToolButton *> m_pickerOf; // name box -> its picker button
};
