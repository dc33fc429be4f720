#pragma once

#include "common/ui/Dialog.h"
#include "output/DelimitedText.h"
#include "output/ExportProgress.h"

class Dataset;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

// frm_Hatarolt: writes any row set as delimited text, a spreadsheet (.xls) or an
// XML data packet (.xml), or copies it to the clipboard as tab-separated text.
// The writing itself is done by the widget-free writers; the screen picks the
// fields and options, keeps itself responsive while they run and can stop them.
class ExportDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Hatarolt"};
    // The filter of the save dialog.
    static const QString FileFilter;

    ExportDialog(QWidget *parent, Dataset &rows, const QString &defaultFileName);

    // Opens the screen modally over the row set; the default file name may be empty.
    static void run(QWidget *parent, Dataset &rows, const QString &defaultFileName);

    bool isRunning() const { return m_running; }

public Q_SLOTS:
    // Ctrl+Enter starts the export, like the default button.
    void accept() override;
    // Esc or the window's close stops a running export instead of closing under it.
    void reject() override;

private:
    void startExport();
    void copyToClipboard();
    void browse();
    void setAllTicked(bool ticked);
    QList<int> tickedColumns() const;
    DelimitedOptions delimitedOptions(bool forClipboard) const;
    // Disables what may not run twice, enables "Megállít"; the callback processes
    // the screen's events now and then and tells the writer whether to go on.
    ExportProgress beginRun(int total);
    void endRun();
    bool writeDelimited(const QString &fileName);

    Dataset &m_rows;
    bool m_running = false;
    bool m_stopRequested = false;

    QListWidget *m_fields = nullptr;
    QButtonGroup *m_separators = nullptr;
    QButtonGroup *m_quotes = nullptr;
    QCheckBox *m_multiLine = nullptr;
    QCheckBox *m_originalNames = nullptr;
    QCheckBox *m_noHeader = nullptr;
    QCheckBox *m_openAfter = nullptr;
    QLineEdit *m_fileName = nullptr;
    QPushButton *m_browse = nullptr;
    QPushButton *m_clipboard = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
    QPushButton *m_all = nullptr;
    QPushButton *m_none = nullptr;
    QProgressBar *m_progress = nullptr;
};
