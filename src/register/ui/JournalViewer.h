#pragma once

#include "core/ui/ListScreen.h"

class QActionGroup;
class QPlainTextEdit;
class QSplitter;

// frm_IktNaplo: the change journal, one document's rows at first; filtered by
// one document, one user or a period, each filter replacing the WHERE line.
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

protected:
    void search(const QString &) override {}
    void currentRowChanged() override;

private:
    void filter(const QString &condition);
    void askDocument();
    void askUser();
    void askPeriod();
    void showText();

    QPlainTextEdit *m_text = nullptr;
    QSplitter *m_splitter = nullptr;
    QActionGroup *m_filters = nullptr;
    QAction *m_marked = nullptr;
};
