#pragma once

#include "common/ui/Dialog.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// frm_NyomValaszt: how a report goes out — preview, printer, delimited export or
// a PDF file. The printer list is offered only for printing.
class OutputChoice : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_NyomValaszt"};
    enum Choice
    {
        Cancelled = -1,
        Preview = 0,
        Print = 1,
        Export = 2,
        Pdf = 3,
    };

    // Starts with the printer name, or the first installed printer when it is empty.
    OutputChoice(QWidget *parent, const QString &printerName);

    // Modal; the printer name is the drop-down's text on OK and left alone otherwise.
    static Choice ask(QWidget *parent, QString &printerName);

    Choice choice() const;
    QString printerText() const;
    QRadioButton *option(Choice choice) const;
    QComboBox *printerBox() const { return m_printers; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    void choiceChanged();

    QButtonGroup *m_group;
    QComboBox *m_printers;
    QLabel *m_printerLabel;
    QLabel *m_picture;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

// The installed printers' names; a name outside them counts as no printer.
QStringList installedPrinters();
