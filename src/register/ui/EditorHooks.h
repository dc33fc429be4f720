#pragma once

#include <QtGlobal>
#include <functional>

class QWidget;

// What the attachment work adds to the document editor (frm_Szerkeszt) without
// the editor knowing it: the "Csatolt dokumentumok" page and the "Sorvikaba..."
// hand-over. Until they are set the page is empty and the button does nothing.
struct EditorHooks
{
    // The attachments page for a document; group gives the edit record's group when asked
    // (it changes with "Csoport"); readOnly on a write-protected register.
    std::function<QWidget *(QWidget *parent, qint64 documentKey, std::function<int()> group, bool readOnly)>
        attachmentsPage;
    // "Sorvikaba...": hands the saved document over to the online store.
    std::function<void(QWidget *parent, qint64 documentKey)> sendToOnlineStore;
};
EditorHooks &editorHooks();
