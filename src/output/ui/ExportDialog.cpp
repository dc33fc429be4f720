#include "output/ui/ExportDialog.h"

#include "common/ui/DesktopServices.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/ui/ErrorHandler.h"
#include "db/Dataset.h"
#include "output/BiffWriter.h"
#include "output/DataPacketXml.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <iterator>
#include <memory>

namespace {

// How often a running export lets the screen handle its events: often enough for
// "Megállít" to answer at once, seldom enough to cost nothing.
constexpr int RepaintMs = 40;

struct Choice
{
    const char *objectName;
    const char *caption;
    int value;
};

const Choice Separators[] = {
    {"rbPontosvesszo", "Pontosvessző (;)", ';'},
    {"rbTabulator", "Tabulátor", '\t'},
    {"rbVesszo", "Vessző (,)", ','},
    {"rbCso", "Cső (|)", '|'},
};

const Choice Quotes[] = {
    {"rbIdezojel", "Idézőjel (\")", '"'},
    {"rbAposztrof", "Aposztróf (')", '\''},
    {"rbSemmi", "Semmi", 0},
};

QGroupBox *choiceGroup(QWidget *parent, const QString &title, const char *objectName, QButtonGroup *group,
                       const Choice *choices, int count, int selected)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(objectName));
    auto *layout = new QVBoxLayout(box);
    for (int i = 0; i < count; ++i) {
        auto *radio = new QRadioButton(QString::fromUtf8(choices[i].caption), box);
        radio->setObjectName(QLatin1String(choices[i].objectName));
        radio->setChecked(choices[i].value == selected);
        group->addButton(radio, choices[i].value);
        layout->addWidget(radio);
    }
    return box;
}

QCheckBox *checkBox(QWidget *parent, const char *objectName, const QString &caption, bool ticked)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(objectName));
    box->setChecked(ticked);
    return box;
}

QPushButton *button(QWidget *parent, const char *objectName, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(objectName));
    b->setAutoDefault(false);
    return b;
}

} // namespace

const QString ExportDialog::FileFilter = QStringLiteral(
    "Excel munkalap (*.xls);;CSV állományok (*.csv);;Text állományok (*.txt);;XML (*.xml);;Minden állomány (*)");

ExportDialog::ExportDialog(QWidget *parent, Dataset &rows, const QString &defaultFileName)
    : Dialog(parent, ObjectName), m_rows(rows)
{
    setWindowTitle(QStringLiteral("Határolt szöveg export"));

    auto *fieldsLabel = new QLabel(QStringLiteral("Mezők"), this);
    m_fields = new QListWidget(this);
    m_fields->setObjectName(QStringLiteral("lbMezok"));
    fieldsLabel->setBuddy(m_fields);
    // Lists take no name from a buddy label.
    m_fields->setAccessibleName(fieldsLabel->text());
    for (int col = 0; col < rows.fieldCount(); ++col) {
        auto *item = new QListWidgetItem(rows.field(col).name, m_fields);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Checked);
        item->setData(Qt::UserRole, col);
    }
    keepEnterKey(m_fields);
    m_all = button(this, "btnOsszes", QStringLiteral("Összes"));
    m_none = button(this, "btnEgyikSem", QStringLiteral("Egyik sem"));

    m_separators = new QButtonGroup(this);
    m_quotes = new QButtonGroup(this);
    QGroupBox *separatorBox = choiceGroup(this, QStringLiteral("Határoló karakter"), "rgHatarolo", m_separators,
                                          Separators, int(std::size(Separators)), ';');
    QGroupBox *quoteBox = choiceGroup(this, QStringLiteral("Szövegjelölő"), "rgSzovegjelolo", m_quotes, Quotes,
                                      int(std::size(Quotes)), 0);

    m_multiLine = checkBox(this, "cbTobbsoros", QStringLiteral("Többsoros mezőket is kiírja"), true);
    m_originalNames = checkBox(this, "cbEredetiNevek", QStringLiteral("Eredeti mezőneveket használja"), false);
    m_noHeader = checkBox(this, "cbNincsFejlec", QStringLiteral("Fejléc nem kell (az első sorban)"), false);
    m_openAfter = checkBox(this, "cbMegnyitas", QStringLiteral("Export után megnyitás"), false);

    m_clipboard = button(this, "btnVagolapra", QStringLiteral("Vágólapra!"));
    auto *clipboardNote = new QLabel(QStringLiteral("Excel munkalapba beilleszthető"), this);

    auto *fileLabel = new QLabel(QStringLiteral("Filenév"), this);
    m_fileName = new QLineEdit(defaultFileName, this);
    m_fileName->setObjectName(QStringLiteral("edFilenev"));
    fileLabel->setBuddy(m_fileName);
    m_browse = button(this, "btnTallozas", QStringLiteral("..."));
    m_browse->setToolTip(QStringLiteral("Tallózás"));
    m_browse->setAccessibleName(QStringLiteral("Tallózás"));

    m_export = button(this, "btnExport", QStringLiteral("Export indítás"));
    m_export->setDefault(true);
    m_stop = button(this, "btnMegallit", QStringLiteral("Megállít"));
    m_stop->setEnabled(false);
    m_close = button(this, "btnBezar", QStringLiteral("Bezár"));

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pbHaladas"));
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);

    auto *left = new QVBoxLayout;
    left->addWidget(fieldsLabel);
    left->addWidget(m_fields, 1);
    auto *tickButtons = new QHBoxLayout;
    tickButtons->addWidget(m_all);
    tickButtons->addWidget(m_none);
    left->addLayout(tickButtons);

    auto *right = new QVBoxLayout;
    auto *groups = new QHBoxLayout;
    groups->addWidget(separatorBox);
    groups->addWidget(quoteBox);
    right->addLayout(groups);
    right->addWidget(m_multiLine);
    right->addWidget(m_originalNames);
    right->addWidget(m_noHeader);
    right->addWidget(m_openAfter);
    auto *clipboardRow = new QHBoxLayout;
    clipboardRow->addWidget(m_clipboard);
    clipboardRow->addWidget(clipboardNote, 1);
    right->addLayout(clipboardRow);
    right->addWidget(fileLabel);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_browse);
    right->addLayout(fileRow);
    right->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_export);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_close);
    right->addLayout(buttons);

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(m_progress);
    resize(560, 420);

    const QString screen = QString(ObjectName) + QLatin1Char('.');
    connect(m_all, &QPushButton::clicked, this, [this] { setAllTicked(true); });
    connect(m_none, &QPushButton::clicked, this, [this] { setAllTicked(false); });
    connect(m_browse, &QPushButton::clicked, this, guarded(screen + QStringLiteral("btnTallozas"), [this] { browse(); }));
    connect(m_clipboard, &QPushButton::clicked, this,
            guarded(screen + QStringLiteral("btnVagolapra"), [this] { copyToClipboard(); }));
    connect(m_export, &QPushButton::clicked, this, guarded(screen + QStringLiteral("btnExport"), [this] { startExport(); }));
    connect(m_stop, &QPushButton::clicked, this, [this] { m_stopRequested = true; });
    connect(m_close, &QPushButton::clicked, this, &ExportDialog::reject);
}

void ExportDialog::run(QWidget *parent, Dataset &rows, const QString &defaultFileName)
{
    ExportDialog dialog(parent, rows, defaultFileName);
    dialog.exec();
}

void ExportDialog::accept()
{
    if (!m_running)
        runGuarded(QString(ObjectName) + QStringLiteral(".btnExport"), [this] { startExport(); });
}

void ExportDialog::reject()
{
    if (m_running) {
        m_stopRequested = true;
        return;
    }
    Dialog::reject();
}

void ExportDialog::setAllTicked(bool ticked)
{
    for (int i = 0; i < m_fields->count(); ++i)
        m_fields->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

QList<int> ExportDialog::tickedColumns() const
{
    QList<int> columns;
    for (int i = 0; i < m_fields->count(); ++i)
        if (m_fields->item(i)->checkState() == Qt::Checked)
            columns << m_fields->item(i)->data(Qt::UserRole).toInt();
    return columns;
}

DelimitedOptions ExportDialog::delimitedOptions(bool forClipboard) const
{
    DelimitedOptions o;
    o.columns = tickedColumns();
    if (forClipboard) {
        o.separator = '\t';
    } else {
        o.separator = char(m_separators->checkedId());
        if (const int quote = m_quotes->checkedId())
            o.quote = QByteArray(1, char(quote));
    }
    o.header = !m_noHeader->isChecked();
    o.originalNames = m_originalNames->isChecked();
    o.multiLineFields = m_multiLine->isChecked();
    return o;
}

void ExportDialog::browse()
{
    const QString name =
        FileDialog::getSaveFileName(this, QStringLiteral("Mentés"), m_fileName->text(), FileFilter);
    if (!name.isEmpty())
        m_fileName->setText(name);
}

ExportProgress ExportDialog::beginRun(int total)
{
    m_running = true;
    m_stopRequested = false;
    for (QWidget *w : {static_cast<QWidget *>(m_export), static_cast<QWidget *>(m_clipboard),
                       static_cast<QWidget *>(m_close), static_cast<QWidget *>(m_browse)})
        w->setEnabled(false);
    m_stop->setEnabled(true);
    m_progress->setRange(0, qMax(1, total));
    m_progress->setValue(0);
    // Not started: the first row already lets the screen answer.
    auto sinceRepaint = std::make_shared<QElapsedTimer>();
    return [this, sinceRepaint](int done, int) {
        if (!sinceRepaint->isValid() || sinceRepaint->elapsed() >= RepaintMs) {
            m_progress->setValue(done);
            QCoreApplication::processEvents();
            sinceRepaint->restart();
        }
        return !m_stopRequested;
    };
}

void ExportDialog::endRun()
{
    m_progress->setValue(0);
    m_stop->setEnabled(false);
    for (QWidget *w : {static_cast<QWidget *>(m_export), static_cast<QWidget *>(m_clipboard),
                       static_cast<QWidget *>(m_close), static_cast<QWidget *>(m_browse)})
        w->setEnabled(true);
    m_running = false;
}

void ExportDialog::startExport()
{
    if (m_running)
        return;
    QString fileName = m_fileName->text();
    if (fileName.isEmpty()) {
        fileName = FileDialog::getSaveFileName(this, QStringLiteral("Mentés"), QString(), FileFilter);
        if (fileName.isEmpty())
            return;
        m_fileName->setText(fileName);
    }
    const QString extension = QFileInfo(fileName).suffix().toUpper();
    if (extension == QLatin1String("XLS") || extension == QLatin1String("XML")) {
        // Their failures are not expected here: they go on to the general handler.
        const ExportProgress progress = beginRun(m_rows.visibleCount());
        struct End
        {
            ExportDialog *d;
            ~End() { d->endRun(); }
        } end{this};
        if (extension == QLatin1String("XLS"))
            BiffWriter::writeFile(&m_rows, tickedColumns(), fileName, progress);
        else
            writeDataPacketFile(m_rows, fileName, progress);
    } else if (!writeDelimited(fileName)) {
        return;
    }
    if (m_openAfter->isChecked()) {
        DesktopServices::openFile(QFileInfo(fileName).absoluteFilePath());
        Dialog::done(QDialog::Accepted);
    }
}

bool ExportDialog::writeDelimited(const QString &fileName)
{
    const ExportProgress progress = beginRun(m_rows.visibleCount());
    bool written = false;
    try {
        const DelimitedText text = buildDelimitedText(m_rows, delimitedOptions(false), progress);
        writeWholeFile(fileName, text.lines);
        written = true;
    } catch (...) {
        endRun();
        ShowError(QStringLiteral("Hiba: ") + failureText(std::current_exception()));
        return false;
    }
    endRun();
    ShowInfo(fileName + QStringLiteral(" file kész."));
    return written;
}

void ExportDialog::copyToClipboard()
{
    if (m_running)
        return;
    const ExportProgress progress = beginRun(m_rows.visibleCount());
    QString text;
    try {
        text = delimitedClipboardText(buildDelimitedText(m_rows, delimitedOptions(true), progress).lines);
    } catch (...) {
        endRun();
        ShowError(QStringLiteral("Hiba: ") + failureText(std::current_exception()));
        return;
    }
    endRun();
    QGuiApplication::clipboard()->setText(text);
    ShowInfo(QStringLiteral("Adatok vágólapra másolása kész."));
}
