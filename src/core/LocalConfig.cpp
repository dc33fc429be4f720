#include "core/LocalConfig.h"

#include "common/PrivateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kAdatbazis = QStringLiteral("Adatbazis");
const QString kMezok = QStringLiteral("Mezok");
const QString kUser = QStringLiteral("User");
const QString kFont = QStringLiteral("Font");
const QString kPrinters = QStringLiteral("Printers");
// Two spellings of one section (names ignore case); both kept as they are written.
const QString kBarcodeLeft = QStringLiteral("Barcode");
const QString kBarcode = QStringLiteral("BarCode");
const QString kLang = QStringLiteral("Lang");
const QString kAlapertek = QStringLiteral("Alapertek");

const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");

// Fits one axis: position and extent against the far edge.
void fitAxis(int &position, int &extent, int edge)
{
    if (position > edge)
        position = 0;
    if (position + extent > edge) {
        if (extent < edge) {
            position = edge - extent;
        } else {
            position = 0;
            extent = edge;
        }
    }
}

} // namespace

LocalConfig LocalConfig::defaults(const AppFolders &folders)
{
    LocalConfig config;
    for (int n = 0; n < ProfileKeyCount; ++n)
        config.conStr << QString();
    config.htmlUt = folders.htmlFolder();
    config.lang = folders.langFile();
    return config;
}

LocalConfig LocalConfig::read(const IniFile &file, const AppFolders &folders)
{
    LocalConfig c = defaults(folders);
    for (int n = 0; n < ProfileKeyCount; ++n)
        c.conStr[n] = file.readString(kAdatbazis, QStringLiteral("ConStr%1").arg(n + 1));
    c.htmlUt = file.readString(kAdatbazis, QStringLiteral("HtmlUt"), c.htmlUt);
    c.masolMezok = normalizeFlags(file.readString(kMezok, QStringLiteral("MasolMezok"), c.masolMezok));
    c.lastUser = file.readString(kUser, QStringLiteral("LastUser"), c.lastUser);
    c.fontSize = file.readInt(kFont, QStringLiteral("Size"), c.fontSize);
    c.printer = file.readString(kPrinters, QStringLiteral("Printer"), c.printer);
    c.vkLeft = file.readReal(kBarcodeLeft, QStringLiteral("VK_Left"), c.vkLeft);
    c.vkTop = file.readReal(kBarcode, QStringLiteral("VK_Top"), c.vkTop);
    c.vkColumn = file.readInt(kBarcode, QStringLiteral("VK_Column"), c.vkColumn);
    c.vkBcLeft = file.readReal(kBarcode, QStringLiteral("VK_BcLeft"), c.vkBcLeft);
    c.vkHeight = file.readReal(kBarcode, QStringLiteral("VK_Height"), c.vkHeight);
    c.vkHanyadik = file.readInt(kBarcode, QStringLiteral("VK_Hanyadik"), c.vkHanyadik);
    c.vkTipus = file.readInt(kBarcode, QStringLiteral("VK_Tipus"), c.vkTipus);
    c.vkHova = file.readInt(kBarcode, QStringLiteral("VK_Hova"), c.vkHova);
    c.lang = file.readString(kLang, QStringLiteral("Lang"), c.lang);
    c.teljesKep = file.readBool(kAlapertek, QStringLiteral("TeljesKep"), c.teljesKep);
    c.vanFigyu = file.readBool(kAlapertek, QStringLiteral("VanFigyu"), c.vanFigyu);
    c.bal = file.readInt(kAlapertek, QStringLiteral("Bal"), c.bal);
    c.felul = file.readInt(kAlapertek, QStringLiteral("Felul"), c.felul);
    c.magas = file.readInt(kAlapertek, QStringLiteral("Magas"), c.magas);
    c.szeles = file.readInt(kAlapertek, QStringLiteral("Szeles"), c.szeles);
    return c;
}

bool LocalConfig::write(IniFile &file) const
{
    bool ok = true;
    auto track = [&ok](bool written) { ok = ok && written; };
    track(file.writeString(kAdatbazis, QStringLiteral("HtmlUt"), htmlUt));
    track(file.writeString(kMezok, QStringLiteral("MasolMezok"), masolMezok));
    track(file.writeString(kMezok, QStringLiteral("Mezok"), mezok));
    track(file.writeString(kUser, QStringLiteral("LastUser"), lastUser));
    track(file.writeInt(kFont, QStringLiteral("Size"), fontSize));
    track(file.writeString(kPrinters, QStringLiteral("Printer"), printer));
    track(file.writeReal(kBarcodeLeft, QStringLiteral("VK_Left"), vkLeft));
    track(file.writeReal(kBarcode, QStringLiteral("VK_Top"), vkTop));
    track(file.writeInt(kBarcode, QStringLiteral("VK_Column"), vkColumn));
    track(file.writeReal(kBarcode, QStringLiteral("VK_BcLeft"), vkBcLeft));
    track(file.writeReal(kBarcode, QStringLiteral("VK_Height"), vkHeight));
    track(file.writeInt(kBarcode, QStringLiteral("VK_Hanyadik"), vkHanyadik));
    track(file.writeInt(kBarcode, QStringLiteral("VK_Tipus"), vkTipus));
    track(file.writeInt(kBarcode, QStringLiteral("VK_Hova"), vkHova));
    track(file.writeString(kLang, QStringLiteral("Lang"), lang));
    track(file.writeBool(kAlapertek, QStringLiteral("TeljesKep"), teljesKep));
    track(file.writeBool(kAlapertek, QStringLiteral("VanFigyu"), vanFigyu));
    track(file.writeInt(kAlapertek, QStringLiteral("Bal"), bal));
    track(file.writeInt(kAlapertek, QStringLiteral("Felul"), felul));
    track(file.writeInt(kAlapertek, QStringLiteral("Magas"), magas));
    track(file.writeInt(kAlapertek, QStringLiteral("Szeles"), szeles));
    return ok;
}

LocalConfig LocalConfig::load()
{
    seedLocalConfig(AppFolders::current());
    return read(localConfigFile(), AppFolders::current());
}

bool LocalConfig::save() const
{
    IniFile file = localConfigFile();
    return write(file);
}

void LocalConfig::createHtmlFolder() const
{
    if (!htmlUt.isEmpty())
        QDir().mkpath(htmlUt);
}

QString LocalConfig::normalizeFlags(const QString &flags)
{
    return flags.leftJustified(FlagCount, QLatin1Char(' '), true);
}

bool LocalConfig::isFlagSet(const QString &flags, int position)
{
    return position >= 0 && position < flags.size() && flags.at(position) == QLatin1Char('I');
}

bool seedLocalConfig(const AppFolders &folders)
{
    if (folders.seedConfigFile.isEmpty() || QFileInfo::exists(folders.configFile()))
        return false;
    QFile seed(folders.seedConfigFile);
    if (!seed.open(QIODevice::ReadOnly))
        return false;
    // The profiles hold passwords: the copy is closed to others from the start.
    return PrivateFile::writeAll(folders.configFile(), seed.readAll()).isEmpty();
}

IniFile localConfigFile()
{
    return IniFile(AppFolders::current().configFile());
}

QRect fitIntoWorkArea(const QRect &rect, const QRect &workArea)
{
    int left = rect.x();
    int top = rect.y();
    int width = rect.width();
    int height = rect.height();
    fitAxis(left, width, workArea.x() + workArea.width());
    fitAxis(top, height, workArea.y() + workArea.height());
    return QRect(left, top, width, height);
}

QRect readDialogGeometry(const IniFile &file, const QString &objectName, const QRect &designed,
                         bool resizable, const QRect &workArea)
{
    QRect rect(file.readInt(objectName, kLeft, 10), file.readInt(objectName, kTop, 10), designed.width(),
               designed.height());
    if (resizable) {
        rect.setWidth(file.readInt(objectName, kWidth, designed.width()));
        rect.setHeight(file.readInt(objectName, kHeight, designed.height()));
    }
    return fitIntoWorkArea(rect, workArea);
}

QRect readDialogGeometry(const QString &objectName, const QRect &designed, bool resizable,
                         const QRect &workArea)
{
    return readDialogGeometry(localConfigFile(), objectName, designed, resizable, workArea);
}

bool writeDialogGeometry(IniFile &file, const QString &objectName, const QRect &rect, bool resizable)
{
    bool ok = file.writeInt(objectName, kLeft, rect.x());
    ok = file.writeInt(objectName, kTop, rect.y()) && ok;
    if (resizable) {
        ok = file.writeInt(objectName, kWidth, rect.width()) && ok;
        ok = file.writeInt(objectName, kHeight, rect.height()) && ok;
    }
    return ok;
}

bool writeDialogGeometry(const QString &objectName, const QRect &rect, bool resizable)
{
    IniFile file = localConfigFile();
    return writeDialogGeometry(file, objectName, rect, resizable);
}
