#include "core/ProgramSettings.h"

#include "core/AppFolders.h"
#include "core/LocalConfig.h"
#include "db/Dataset.h"
#include "db/DbHelpers.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace {

// Reads the columns of one row; a missing column or NULL keeps the default.
class RowReader
{
public:
    RowReader(const Dataset &data, int row) : m_data(data), m_row(row) {}

    bool isNull(QStringView column) const
    {
        const int col = m_row < 0 ? -1 : m_data.fieldIndex(column);
        return col < 0 || m_data.isNull(m_row, col);
    }
    void text(QStringView column, QString &into) const
    {
        if (!isNull(column))
            into = m_data.text(m_row, m_data.fieldIndex(column));
    }
    void flag(QStringView column, bool &into) const
    {
        QString value;
        text(column, value);
        into = isFlagOn(value);
    }
    void number(QStringView column, int &into) const
    {
        if (!isNull(column))
            into = int(m_data.toInt(m_row, m_data.fieldIndex(column), into));
    }

private:
    const Dataset &m_data;
    int m_row;
};

} // namespace

bool isFlagOn(const QString &value)
{
    return value == QLatin1String("I");
}

ProgramSettings ProgramSettings::load(const AppFolders &folders)
{
    const Dataset data = db().query(QStringLiteral("SELECT * FROM beallit"));
    return fromRow(data, data.isEmpty() ? -1 : 0, folders);
}

ProgramSettings ProgramSettings::fromRow(const Dataset &data, int row, const AppFolders &folders)
{
    ProgramSettings s;
    const RowReader r(data, row);
    for (int n = 0; n < 8; ++n)
        r.text(QStringLiteral("m%1").arg(n + 1), s.m[n]);
    r.flag(u"vanbelep", s.vanbelep);
    r.flag(u"azhelyettfoszam", s.azhelyettfoszam);
    r.text(u"mezo1", s.mezo1);
    r.text(u"mezo2", s.mezo2);
    r.text(u"mezo3", s.mezo3);
    r.text(u"mezo4", s.mezo4);
    r.text(u"mezo5", s.mezo5);
    r.text(u"mezo6", s.mezo6);
    r.text(u"megjeleno_adatok", s.megjelenoAdatok);
    s.megjelenoAdatok = LocalConfig::normalizeFlags(s.megjelenoAdatok);
    r.flag(u"vanmunkaszamkerdes", s.vanmunkaszamkerdes);
    r.flag(u"vanprojektkerdes", s.vanprojektkerdes);
    r.flag(u"vantipuskerdes", s.vantipuskerdes);
    r.flag(u"irasvedett", s.irasvedett);
    r.number(u"hatidfigyel", s.hatidfigyel);
    r.flag(u"azonnalment", s.azonnalment);
    r.flag(u"alszamreadonly", s.alszamreadonly);
    r.flag(u"foszamsorszam", s.foszamsorszam);
    r.flag(u"vancsoport", s.vancsoport);
    r.number(u"alapcsoport", s.alapcsoport);
    r.flag(u"vanfoszam", s.vanfoszam);
    r.text(u"szabadmezo", s.szabadmezo);
    r.text(u"ftp_user", s.ftpUser);
    r.text(u"ftp_pwd", s.ftpPwd);
    r.text(u"ftp_host", s.ftpHost);
    r.text(u"ftp_mappa", s.ftpMappa);
    r.text(u"mentesutvonal", s.mentesutvonal);
    r.text(u"megnyitasutvonal", s.megnyitasutvonal);
    if (s.megnyitasutvonal.isEmpty())
        s.megnyitasutvonal = folders.tmpFolder();
    r.flag(u"mentescsoport", s.mentescsoport);
    r.flag(u"isftp", s.isftp);
    r.flag(u"doksititkosit", s.doksititkosit);
    r.flag(u"vansorszam", s.vansorszam);
    r.flag(u"mindigegyrolindul", s.mindigegyrolindul);
    r.flag(u"alszamevenkent", s.alszamevenkent);
    r.text(u"verzioelfogadva", s.verzioelfogadva);
    r.number(u"hirelfogadva", s.hirelfogadva);
    return s;
}

QString ProgramSettings::listColumnField(int n) const
{
    if (n < 1 || n > 8)
        return QString();
    if (n == 1 && azhelyettfoszam)
        return QStringLiteral("foszamstr");
    return m[n - 1];
}

QString ProgramSettings::barcodeNameField() const
{
    return azhelyettfoszam ? QStringLiteral("foszamstr") : QStringLiteral("iktatoaz");
}

std::optional<QString> ProgramSettings::columnLabel(QStringView column) const
{
    const std::pair<QLatin1String, const QString *> labels[] = {
        {QLatin1String("munkaszam_nev"), &mezo1}, {QLatin1String("projekt_nev"), &mezo2},
        {QLatin1String("tipus_nev"), &mezo3},     {QLatin1String("hivszam"), &mezo4},
        {QLatin1String("tarolo"), &mezo5},
    };
    for (const auto &[name, label] : labels)
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return *label;
    return std::nullopt;
}

QString StorageFolder(const ProgramSettings &settings)
{
    // An empty setting would put the files at the root of the disk.
    return settings.mentesutvonal.isEmpty() ? AppFolders::current().documentFolder() : settings.mentesutvonal;
}

QString GroupStorageFolder(const ProgramSettings &settings, qint64 group)
{
    QString folder = StorageFolder(settings) + QLatin1Char('/');
    if (settings.mentescsoport)
        folder += QStringLiteral("%1/").arg(group, 5, 10, QLatin1Char('0'));
    return folder;
}

QStringList ensureGroupFolders(const ProgramSettings &settings)
{
    QStringList errors;
    if (!settings.mentescsoport)
        return errors;
    // The keys as numbers: the folder rule pads them, and never cuts a longer one.
    const Dataset groups = db().query(QStringLiteral("SELECT csoport FROM csoport;"));
    for (int row = 0; row < groups.rowCount(); ++row) {
        QString folder = GroupStorageFolder(settings, groups.toInt(row, 0, 0));
        folder.chop(1);
        // std::filesystem, unlike QDir::mkpath, tells why a folder could not be made.
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()),
                                            error);
        if (error)
            errors.append(QStringLiteral("Hiba a mappa létrehozása közben:\r\n") + folder +
                          QStringLiteral("\n\r") + QString::fromLocal8Bit(error.message()));
    }
    return errors;
}

const QStringList &documentListColumns()
{
    static const QStringList columns = {
        QStringLiteral("iktato"),
        QStringLiteral("az1"),
        QStringLiteral("az2"),
        QStringLiteral("targy"),
        QStringLiteral("ugyf_kitol"),
        QStringLiteral("ugyf_hova"),
        QStringLiteral("ugyf_intezkedesre"),
        QStringLiteral("tarolo"),
        QStringLiteral("dat_erk"),
        QStringLiteral("dat_hatid"),
        QStringLiteral("dat_megorzes"),
        QStringLiteral("hivszam"),
        QStringLiteral("torolve"),
        QStringLiteral("dat_figy"),
        QStringLiteral("figy_szoveg"),
        QStringLiteral("nyomtatni"),
        QStringLiteral("projekt"),
        QStringLiteral("munkaszam"),
        QStringLiteral("irany"),
        QStringLiteral("tipus"),
        QStringLiteral("filenev"),
        QStringLiteral("csoport"),
        QStringLiteral("felhkod"),
        QStringLiteral("kolcsonadva"),
        QStringLiteral("kolcsonadva_dat"),
        QStringLiteral("kolcsonadva_kinek"),
        QStringLiteral("statusz"),
        QStringLiteral("ugyf_kitol_nev"),
        QStringLiteral("ugyf_kinek_nev"),
        QStringLiteral("ugyf_intezkedesre_nev"),
        QStringLiteral("projekt_nev"),
        QStringLiteral("munkaszam_nev"),
        QStringLiteral("tipus_nev"),
        QStringLiteral("csoport_nev"),
        QStringLiteral("xtargy"),
        QStringLiteral("irany_nev"),
        QStringLiteral("filenev2"),
        QStringLiteral("filenev3"),
        QStringLiteral("origfilenev"),
        QStringLiteral("origfilenev2"),
        QStringLiteral("origfilenev3"),
        QStringLiteral("kulcsszavak"),
        QStringLiteral("megjegyzes"),
        QStringLiteral("foszamstr"),
        QStringLiteral("fcs"),
        QStringLiteral("iktatoaz"),
    };
    return columns;
}
