#pragma once

#include "core/ui/ListScreen.h"

class QActionGroup;
class QPlainTextEdit;
class QSplitter;
class QTabWidget;
class QTableWidget;

// frm_IktNaplo: the change journal, one document's rows at first; filtered by
// one document, one user or a period, each filter replacing the WHERE line. A second
// page lists the server's trail of the document: every change, also those made past the program.
class JournalViewer : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_IktNaplo"};
    explicit JournalViewer(QWidget *parent);

    static void run(QWidget *parent, qint64 document);

    void showDocument(qint64 document);
    QPlainTextEdit *textBox() const { return m_text; }
    QSplitter *splitter() const { return m_splitter; }
    QActionGroup *filterGroup() const { return m_filters; }
    QTabWidget *pages() const { return m_pages; }
    QTableWidget *trailGrid() const { return m_trail; }

protected:
    void search(const QString &) override {}
    void currentRowChanged() override;

private:
    void filter(const QString &condition);
    void askDocument();
    void askUser();
    void askPeriod();
    void showText();
    // The server's trail of the document the journal was last filtered by.
    void showTrail();

    QPlainTextEdit *m_text = nullptr;
    QSplitter *m_splitter = nullptr;
    QActionGroup *m_filters = nullptr;
    QAction *m_marked = nullptr;
    QTabWidget *m_pages = nullptr;
    QTableWidget *m_trail = nullptr;
    qint64 m_document = 0;
    qint64 m_trailShown = -1; // the document m_trail holds, -1 before it was read
};
