// The demo's attached files: rows with no stored copy get an empty text, a few
// documents get real files of every kind the content search reads.
#include "demo/DemoAttachments.h"
#include "demo/DemoDataImpl.h"

#include "common/SqlText.h"
#include "core/AppFolders.h"
#include "core/ProgramSettings.h"
#include "db/DbHelpers.h"
#include "register/Attachments.h"
#include "register/content/AttachmentText.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

using korvena::demo::SampleKind;

namespace {

struct Sample
{
    SampleKind kind;
    const char *base;
    const char *word; // in the sentence, in no field of the register
    const char *sentence;
    bool drawn; // needs a QGuiApplication
};

// The words are listed in the README, so that a user can search for them.
const Sample samples[] = {
    {SampleKind::PdfText, "szelmalom_koltsegvetes", "szélmalom",
     "Kérjük, a szélmalom felújításának költségvetését a hónap végéig küldjék meg.", true},
    {SampleKind::PdfScanned, "beszkennelt_level", "zúzmara",
     "A zúzmara miatt a kertészeti munkák határideje két héttel később jár le.", true},
    {SampleKind::Png, "szallitolevel", "gesztenyeliszt",
     "Tájékoztatjuk, hogy a gesztenyeliszt szállítása a jövő héten megérkezik.", true},
    {SampleKind::Jpeg, "engedely_foto", "mézeskalács",
     "A mézeskalács vásár engedélyét a polgármesteri hivatal kiadta.", true},
    {SampleKind::Tiff, "tanosveny_fax", "kaptárkő", "A kaptárkő tanösvény táblái elkészültek és átvehetők.",
     true},
    {SampleKind::Docx, "leltar_jegyzokonyv", "tölgyfahordó",
     "A tölgyfahordó leltári számát kérjük feltüntetni a jegyzőkönyvben.", false},
    {SampleKind::Odt, "vizsgalati_eredmeny", "pitypangméz",
     "A pitypangméz minőségi vizsgálatának eredményét mellékelten küldjük.", false},
    {SampleKind::TextUtf8, "bemutato_ertesites", "sárkányrepülő",
     "Értesítjük, hogy a sárkányrepülő bemutató engedélye rendben van.", false},
    {SampleKind::TextCp1250, "jarda_javitas", "hóvirág",
     "A hóvirág utcai járda javítása csütörtökön kezdődik.", false},
};

} // namespace

void DemoData::Impl::markFilelessAttachments(int firstFile)
{
    // They have no stored copy to read; an empty text keeps index-attachments from
    // reporting every one of them as missing.
    c.exec(QStringLiteral("INSERT IGNORE INTO iktato_szoveg (iktato_file, iktato, szoveg, olvasva, modszer) "
                          "SELECT iktato_file, iktato, '', rogzitve, ") +
           SqlLiteral(QString::fromLatin1(korvena::content::MethodNone)) +
           QStringLiteral(" FROM iktato_file WHERE iktato_file >= ") + QString::number(firstFile));
}

void DemoData::Impl::addSampleFiles()
{
    CurrentConnectionScope scope(&c);
    const ProgramSettings settings = ProgramSettings::load(AppFolders::current());
    if (settings.isftp) {
        s.sampleFilesNote = QStringLiteral("a nyilvántartás FTP-n tárolja a csatolt állományokat; "
                                           "minta állományok nem készültek.");
        return;
    }
    // Drawing text needs a GUI application; without one only the kinds written as text are made.
    const bool canDraw = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    const Dataset newest = c.query(QStringLiteral("SELECT iktato, COALESCE(csoport, 0), felhkod, dat_erk "
                                                  "FROM iktato WHERE torolve <> 'I' AND iktato >= ") +
                                   QString::number(nextDocument - s.documents) +
                                   QStringLiteral(" ORDER BY iktato DESC LIMIT %1").arg(std::size(samples)));
    const QByteArray key = settings.doksititkosit ? Attachments::scrambleKey() : QByteArray();
    int row = 0;
    for (const Sample &sample : samples) {
        if (row >= newest.rowCount())
            break;
        if (sample.drawn && !canDraw) {
            s.sampleFilesNote = QStringLiteral("grafikus környezet nélkül csak a szöveges minták készültek.");
            continue;
        }
        const qint64 document = newest.toInt(row, 0);
        const int group = int(newest.toInt(row, 1));
        ++row;
        const QString name = korvena::demo::sampleFileName(sample.kind, QString::fromLatin1(sample.base));
        QByteArray bytes = korvena::demo::sampleFile(sample.kind, QString::fromUtf8(sample.sentence));
        if (bytes.isEmpty())
            continue;
        if (settings.doksititkosit)
            Attachments::scrambleBlock(bytes.data(), bytes.size(), key, false);
        const QString folder = Attachments::groupFolder(settings, group);
        QDir().mkpath(folder);
        transaction([&] {
            // As the program does: a name whose copy is already there (a register made again
            // over the same folder) is stepped over, never replaced.
            QString stored;
            QFile file;
            for (qint64 n = Attachments::nextSequence(document);; ++n) {
                stored = Attachments::storageName(document, n, name);
                file.setFileName(folder + stored);
                if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                    break;
                if (!file.exists())
                    throw KorvenaError(QStringLiteral("Nem írható állomány: ") +
                                       QDir::toNativeSeparators(file.fileName()) + QStringLiteral("\r\n") +
                                       file.errorString());
            }
            if (file.write(bytes) != bytes.size() || !file.flush()) {
                file.remove();
                throw KorvenaError(QStringLiteral("Nem írható állomány: ") +
                                   QDir::toNativeSeparators(file.fileName()) + QStringLiteral("\r\n") +
                                   file.errorString());
            }
            try {
                c.exec(QStringLiteral(
                           "INSERT INTO iktato_file (iktato, filenev, origfilenev, felhkod, rogzitve) "
                           "VALUES (") +
                       QString::number(document) + QLatin1Char(',') + SqlLiteral(stored) + QLatin1Char(',') +
                       SqlLiteral(name) + QLatin1Char(',') + QString::number(newest.toInt(row - 1, 2)) +
                       QStringLiteral(", NOW());"));
                c.exec(QStringLiteral("INSERT INTO iktnaplo (iktato, felhkod, datum, szoveg) VALUES (") +
                       QString::number(document) + QLatin1Char(',') +
                       QString::number(newest.toInt(row - 1, 2)) + QStringLiteral(", NOW(), ") +
                       SqlLiteral(QString(QStringLiteral("File csatolás = ") + name)) + QStringLiteral(");"));
            } catch (...) {
                file.remove();
                throw;
            }
        });
        ++s.attachments;
        ++s.journalRows;
        s.sampleFiles.append({document, name, QString::fromUtf8(sample.word)});
    }
}
