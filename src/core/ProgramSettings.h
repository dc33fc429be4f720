#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct AppFolders;
class Dataset;

// The single row of the server table beallit, as the program uses it.
// Defaults are those applied when a column is NULL.
struct ProgramSettings
{
    QStringList m = QStringList(8); // m1 .. m8: fields of list columns 5 to 12
    bool vanbelep = false;
    bool azhelyettfoszam = false;
    QString mezo1 = QStringLiteral("Munkaszám");
    QString mezo2 = QStringLiteral("Projekt");
    QString mezo3 = QStringLiteral("Típus");
    QString mezo4 = QStringLiteral("Hiv.szám");
    QString mezo5 = QStringLiteral("Tároló");
    QString mezo6 = QStringLiteral("Egyéb");
    QString megjelenoAdatok = QString(17, QLatin1Char(' '));
    bool vanmunkaszamkerdes = false;
    bool vanprojektkerdes = false;
    bool vantipuskerdes = false;
    bool irasvedett = false;
    int hatidfigyel = -1;
    bool azonnalment = false;
    bool alszamreadonly = false;
    bool foszamsorszam = false;
    bool vancsoport = false;
    int alapcsoport = 0;
    bool vanfoszam = false;
    QString szabadmezo = QStringLiteral("tarolo");
    QString ftpUser;
    QString ftpPwd;
    QString ftpHost;
    QString ftpMappa;
    QString mentesutvonal;
    QString megnyitasutvonal; // the data folder's tmp folder when NULL or empty
    bool mentescsoport = false;
    bool isftp = false;
    bool doksititkosit = false;
    // Edited on the settings screen only; the numbering on the server reads them.
    bool vansorszam = false;
    bool mindigegyrolindul = false;
    bool alszamevenkent = false;
    QString verzioelfogadva;
    int hirelfogadva = 0;

    // The first row of beallit on the current connection; an empty table gives
    // every default. The folders give the opening folder's default.
    static ProgramSettings load(const AppFolders &folders);
    // The same from a row already read (row < 0: no row).
    static ProgramSettings fromRow(const Dataset &data, int row, const AppFolders &folders);

    // The field of list column 4 + n (n = 1 .. 8); column 5 shows the main
    // number text instead of m1 when azhelyettfoszam is on.
    QString listColumnField(int n) const;
    // The field that names a document on barcode labels.
    QString barcodeNameField() const;
    // The caption the settings give a list column (mezo1 .. mezo5), if any.
    std::optional<QString> columnLabel(QStringView column) const;
};

// With mentescsoport on, makes sure every group has its folder (five-digit
// group key) under mentesutvonal, parents included. Returns one error text per
// folder that could not be made; the rest are still made.
QStringList ensureGroupFolders(const ProgramSettings &settings);
// Where stored copies of attached files live: mentesutvonal, or the document
// folder of the data folder when it is empty. No trailing separator.
QString StorageFolder(const ProgramSettings &settings);
// The group's storage folder, ending in a separator: the storage folder, then the
// group key with at least five digits when every group has a folder of its own.
QString GroupStorageFolder(const ProgramSettings &settings, qint64 group);

// The fields of the document list (vw_iktato), in the list's order.
const QStringList &documentListColumns();

// A flag column counts as set only when it holds exactly 'I'.
bool isFlagOn(const QString &value);
