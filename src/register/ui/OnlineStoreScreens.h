#pragma once

#include "masterdata/ui/EditorBase.h"

#include <QtGlobal>

class QLineEdit;
class QPlainTextEdit;

// UploadToSorvika: hands a file of the document over to the online store while a
// small borderless window names the file and shows the steps.
void UploadToSorvika(QWidget *parent, qint64 document, const QString &fileName);
// "Sorvikaba..." of the editor, for a saved document: refuses (in a "Hiba" box) a
// document without a file or whose responsible client has no store connection.
// Nothing happens on a write-protected register.
void SendToOnlineStore(QWidget *parent, qint64 document);

// The online store's settings (the sv_beallit row).
class OnlineStoreSettingsDialog : public EditorBase
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_SvBeallit"};
    explicit OnlineStoreSettingsDialog(QWidget *parent);

    // Shows the row and saves it on "OK"; true when saved.
    static bool run(QWidget *parent);

    QLineEdit *subjectEdit() const { return m_subject; }
    QLineEdit *senderEdit() const { return m_sender; }
    QPlainTextEdit *textEdit() const { return m_text; }
    QLineEdit *loadPageEdit() const { return m_load; }
    QLineEdit *deletePageEdit() const { return m_delete; }

private:
    QLineEdit *m_subject;
    QLineEdit *m_sender;
    QPlainTextEdit *m_text;
    QLineEdit *m_load;
    QLineEdit *m_delete;
};
