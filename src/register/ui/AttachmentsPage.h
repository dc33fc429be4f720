#pragma once

#include <QWidget>
#include <functional>

class DatasetModel;
class QAction;
class QMenu;
class QTableView;
class QToolBar;

// "Csatolt dokumentumok" of the document editor: the document's attached
// files, with attaching, removing (the stored copy stays) and opening one.
// Each of the three writes its journal row.
class AttachmentsPage : public QWidget
{
    Q_OBJECT
public:
    // group: the edit record's group at the moment of each action.
    AttachmentsPage(QWidget *parent, qint64 document, std::function<int()> group, bool readOnly);

    void requery();
    void attach();
    void removeCurrent();
    void openCurrent();

    QTableView *grid() const { return m_grid; }
    DatasetModel *model() const { return m_model; }
    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *popupMenu() const { return m_popup; }

private:
    QAction *makeAction(const QString &name, const QString &caption, const QKeySequence &shortcut,
                        std::function<void()> handler);
    int currentRow() const;
    QString currentText(const QString &field) const;

    qint64 m_document;
    std::function<int()> m_group;
    QTableView *m_grid;
    DatasetModel *m_model;
    QToolBar *m_toolBar;
    QMenu *m_popup;
};
