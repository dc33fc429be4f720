#include "output/ui/BarcodeDialog.h"

#include "common/ui/MessageBox.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "output/report/LabelSettings.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// A small page on which a marker sits in the chosen corner.
class CornerPicture : public QWidget
{
public:
    CornerPicture() { setFixedSize(42, 56); }
    void setCorner(int corner)
    {
        m_corner = corner;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QRect page = rect().adjusted(1, 1, -2, -2);
        p.fillRect(page, Qt::white);
        p.setPen(Qt::black);
        p.drawRect(page);
        const QSize mark(14, 5);
        const int x = m_corner % 2 == 0 ? page.left() + 3 : page.right() - 3 - mark.width();
        const int y = m_corner < 2 ? page.top() + 3 : page.bottom() - 3 - mark.height();
        p.fillRect(QRect(QPoint(x, y), mark), Qt::black);
    }

private:
    int m_corner = 0;
};

BarcodeDialog::BarcodeDialog(QWidget *parent) : Dialog(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Vonalkód nyomtatás dokumentumra"));
    const LocalConfig &config = session().local;

    auto *modeBox = new QGroupBox(QStringLiteral("Nyomtatás módja"));
    auto *modeLayout = new QHBoxLayout(modeBox);
    m_mode = new QButtonGroup(this);
    const QStringList modes = {QStringLiteral("Dokumentumra"), QStringLiteral("Címkére (etikett)")};
    for (int i = 0; i < modes.size(); ++i) {
        auto *radio = new QRadioButton(modes[i]);
        m_mode->addButton(radio, i);
        modeLayout->addWidget(radio);
    }
    if (QRadioButton *r = modeOption(config.vkTipus == 1 ? 1 : 0))
        r->setChecked(true);

    auto *documentBox = new QGroupBox(QStringLiteral("Dokumentumra"));
    auto *cornerBox = new QGroupBox(QStringLiteral("Vonalkód helye"));
    auto *cornerLayout = new QVBoxLayout(cornerBox);
    m_corner = new QButtonGroup(this);
    const QStringList corners = {QStringLiteral("Bal felül"), QStringLiteral("Jobb felül"),
                                 QStringLiteral("Bal alul"), QStringLiteral("Jobb alul")};
    for (int i = 0; i < corners.size(); ++i) {
        auto *radio = new QRadioButton(corners[i]);
        m_corner->addButton(radio, i);
        cornerLayout->addWidget(radio);
    }
    m_picture = new CornerPicture;
    const int corner = config.vkHova >= 0 && config.vkHova <= 3 ? config.vkHova : 0;
    cornerOption(corner)->setChecked(true);
    m_picture->setCorner(corner);
    connect(m_corner, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            m_picture->setCorner(id);
    });
    auto *documentLayout = new QHBoxLayout(documentBox);
    documentLayout->addWidget(cornerBox);
    documentLayout->addWidget(m_picture, 0, Qt::AlignCenter);

    auto *labelBox = new QGroupBox(QStringLiteral("Címkére (etikett)"));
    auto *form = new QFormLayout(labelBox);
    const LabelFields values = labelFieldsOf(config);
    const QList<std::pair<QString, QString>> fields = {
        {QStringLiteral("Bal margó"), values.left},  {QStringLiteral("Felső margó"), values.top},
        {QStringLiteral("Behúzás"), values.indent},  {QStringLiteral("Oszlopszám"), values.columns},
        {QStringLiteral("Magasság"), values.height}, {QStringLiteral("Hányadik?"), values.position}};
    for (const auto &[caption, value] : fields) {
        auto *edit = new QLineEdit(value);
        form->addRow(caption, edit);
        m_fields.append(edit);
    }

    m_print = new QPushButton(QStringLiteral("Nyomtat"));
    m_print->setObjectName(QStringLiteral("btnNyomtat"));
    m_print->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"));
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    connect(m_print, &QPushButton::clicked, this, &BarcodeDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &BarcodeDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_print);
    buttons->addWidget(m_cancel);

    auto *groups = new QHBoxLayout;
    groups->addWidget(documentBox);
    groups->addWidget(labelBox);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(modeBox);
    layout->addLayout(groups);
    layout->addLayout(buttons);
}

QRadioButton *BarcodeDialog::modeOption(int mode) const
{
    return qobject_cast<QRadioButton *>(m_mode->button(mode));
}

QRadioButton *BarcodeDialog::cornerOption(int corner) const
{
    return qobject_cast<QRadioButton *>(m_corner->button(corner));
}

void BarcodeDialog::store() const
{
    LabelFields fields;
    fields.left = m_fields[0]->text();
    fields.top = m_fields[1]->text();
    fields.indent = m_fields[2]->text();
    fields.columns = m_fields[3]->text();
    fields.height = m_fields[4]->text();
    fields.position = m_fields[5]->text();
    storeLabelFields(session().local, fields, m_mode->checkedId(), m_corner->checkedId());
}

bool BarcodeDialog::ask(QWidget *parent)
{
    BarcodeDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    try {
        dialog.store();
    } catch (const KorvenaError &e) {
        // A mistyped field is the user's to correct, not a fault to report.
        ShowError(e.text());
        return false;
    }
    return true;
}
