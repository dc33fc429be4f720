#pragma once

#include "core/ProgramSettings.h"
#include "db/EditRecord.h"
#include "masterdata/MasterData.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Registering and editing one document without any window: the questions a new
// document asks, the sp_iktato call, the edit record, the change list and the
// closing UPDATE with its journal row. The editor screen only wires its widgets to it.

// A picker's answer: key -1 when the user closed it without choosing.
struct DocumentChoice
{
    int key = -1;
    QString name;
    bool picked() const { return key != -1; }
};

// The dialogs the questions of a new document open; tests answer them.
struct RegistrationQuestions
{
    std::function<int()> group; // the user's groups; 0 when he has none
    std::function<int(ClientKind kind, const QString &title)> client;
    std::function<int()> mainNumber;
    std::function<DocumentChoice(MasterTable::Caller caller)> masterData;
};

// The answers to the questions, as sp_iktato and the new record take them.
struct NewDocumentAnswers
{
    int group = 0;
    int clientFrom = -1;
    int clientTo = -1;
    int mainNumber = 0;
    std::optional<DocumentChoice> type, workNumber, project; // only those asked
};

namespace DocumentRegistration {

// The client kinds of the "Kitől" and "Kinek" questions for a direction view; none on view 2.
struct ClientKinds
{
    ClientKind from;
    ClientKind to;
};
std::optional<ClientKinds> questionKinds(int directionView);
// The kinds of the editor's "Kitől" and "Kinek" buttons for the record's direction.
ClientKinds editorKinds(int direction);

// Asks what the settings call for, in order; nothing when a question was cancelled.
std::optional<NewDocumentAnswers> ask(const ProgramSettings &settings, int directionView,
                                      const RegistrationQuestions &questions);

} // namespace DocumentRegistration

class DocumentEdit
{
public:
    // The journal text of a group change: the stored attachments stay in the old group's folder.
    static QString groupChangeWarning()
    {
        return QStringLiteral("Figyelmeztetés: Csoport módosítás, csatolt file probléma lehetséges.");
    }

    // A new document numbered by the server from the answers (sp_iktato with key -1), one
    // unit: re-run whole when the server failed it on a conflict. No widget is needed.
    static DocumentEdit create(const NewDocumentAnswers &answers, int directionView, int userKey);
    // An existing document as sp_iktato returns it.
    static DocumentEdit open(qint64 key);

    qint64 key() const { return m_key; }
    EditRecord &record() { return m_record; }
    const EditRecord &record() const { return m_record; }
    const EditRecord &original() const { return m_original; }

    // ---- change list
    const QStringList &changes() const { return m_changes; }
    const QString &pending() const { return m_pending; }
    void addChange(const QString &column, const QString &value);
    void setPending(const QString &column, const QString &text);
    // Appends a non-empty pending line and empties it.
    void flushPending();
    // The journal text: every line followed by CR LF.
    QString journalText() const;

    // ---- edits
    // A box's text into an integer column: empty is NULL, otherwise the number in it.
    void setNumberText(const QString &column, const QString &text);
    // A picked key (and, for master data, the name into its name column) with its change line.
    void choose(const QString &column, int key, const QString &name, const QString &nameColumn = {});
    // The group with its journal row, written at once whatever happens to the edit.
    void changeGroup(int group, const QString &name);
    // The next sub-number of a main number (sp_maxaz2).
    static int nextSubNumber(int mainNumber);

    // ---- closing
    // The in-table columns whose values differ from what was loaded.
    QStringList changedColumns() const;
    // The UPDATE of the changed columns only, so another workstation's edits of other fields
    // survive; empty when nothing changed.
    QString updateStatement() const;
    // Why the record cannot be stored: a text the register's code page cannot hold, or a
    // missing arrival date; empty when it can.
    QString refusal() const;
    // The UPDATE, then the journal row with the change list, as one unit.
    void save();
    // Deletes a document (torolve) with its journal row without text, as one unit.
    static void remove(qint64 key);

private:
    void load(const Dataset &row);

    qint64 m_key = -1;
    EditRecord m_record;
    EditRecord m_original;
    QStringList m_changes;
    QString m_pending;
};
