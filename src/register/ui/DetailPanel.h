#pragma once

#include <QWidget>

class Dataset;
class DatasetModel;
class QGroupBox;
class QLabel;
class QTableView;
struct ProgramSettings;

// The panel below the document list: the current document's reminder and main
// data, and at its right end the grid of the document's attached files.
class DetailPanel : public QWidget
{
    Q_OBJECT
public:
    explicit DetailPanel(QWidget *parent = nullptr);

    // Captions that follow the register's settings (mezo1 .. mezo4).
    void applySettings(const ProgramSettings &settings);
    // Shows a row of the list dataset; row < 0 empties the panel.
    void showRow(const Dataset &data, int row);
    // Re-opens the file grid for the document (0: none).
    void showFiles(qint64 document);
    // The passage of the current document's attached-file text that a search found,
    // after the file's name; an empty text hides it.
    void showPassage(const QString &fileName, const QString &text);
    QString passageText() const;
    // Room for the passage below the values, kept while the search looks in the
    // files' text so the list does not jump from row to row.
    void setPassageArea(bool on);
    // The third column of values is shown only in a window wider than 1300 pixels.
    void setWide(bool wide);
    static bool isWideWindow(int windowWidth) { return windowWidth > 1300; }

    QTableView *fileGrid() const { return m_files; }
    DatasetModel *fileModel() const { return m_fileModel; }
    // The shown value beside a caption's object name (lblAzonosito, ...), for tests and screen readers.
    QString valueText(const QString &objectName) const;

private:
    QLabel *addPair(class QGridLayout *grid, int row, int column, const QString &name,
                    const QString &caption);

    QGroupBox *m_reminder;
    QLabel *m_reminderDate;
    QLabel *m_reminderText;
    QLabel *m_projectCaption;
    QLabel *m_workCaption;
    QLabel *m_refCaption;
    QLabel *m_typeCaption;
    QLabel *m_passage;
    QList<QWidget *> m_wideOnly;
    QTableView *m_files;
    DatasetModel *m_fileModel;
};
