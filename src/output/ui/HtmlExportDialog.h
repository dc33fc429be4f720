#pragma once

#include "common/ui/Dialog.h"
#include "output/HtmlExport.h"

class Dataset;
class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

// frm_Grid2Html: saves a grid's rows as one HTML page, opens it or hands it to the
// mail composer. The page itself is written by the widget-free writer.
class HtmlExportDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Grid2Html"};
    static const QString FileFilter;
    static const QString MailText;

    HtmlExportDialog(QWidget *parent, Dataset &rows, HtmlPage page);

    // Opens the screen modally over the rows.
    static void run(QWidget *parent, Dataset &rows, const HtmlPage &page);
    // The remembered HTML folder (the data folder when none) and the title made a file name.
    static QString defaultFileName(const QString &title);

public Q_SLOTS:
    void accept() override;
    // Not while the page is being written.
    void reject() override;

private:
    void save();
    void mail();
    void browse();
    // Writes the page into the file the edit names; opens it when so ticked.
    QString writePage();

    Dataset &m_rows;
    HtmlPage m_page;
    bool m_running = false;

    QLineEdit *m_fileName = nullptr;
    QPushButton *m_browse = nullptr;
    QCheckBox *m_openAfter = nullptr;
    QPushButton *m_mail = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QProgressBar *m_progress = nullptr;
};
