#pragma once

#include "common/ui/Dialog.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;
class CornerPicture;

// frm_VKodNyom: where the document's barcode goes — a corner of the document or
// a position on a label sheet — filled from and stored into the local settings.
class BarcodeDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_VKodNyom"};

    explicit BarcodeDialog(QWidget *parent);

    // Modal; true after "Nyomtat" with the fields stored in the session's settings.
    // A field that is not a number is shown as an error and gives false (the ones
    // before it are stored).
    static bool ask(QWidget *parent);

    QRadioButton *modeOption(int mode) const;
    QRadioButton *cornerOption(int corner) const;
    // Left margin, top margin, indent, columns, height, position.
    QLineEdit *field(int index) const { return m_fields.value(index); }
    QPushButton *printButton() const { return m_print; }
    QPushButton *cancelButton() const { return m_cancel; }

    // Stores the fields and choices into the session's settings.
    void store() const;

private:
    QButtonGroup *m_mode;
    QButtonGroup *m_corner;
    CornerPicture *m_picture;
    QList<QLineEdit *> m_fields;
    QPushButton *m_print;
    QPushButton *m_cancel;
};
