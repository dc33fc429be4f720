#pragma once

#include <QString>
#include <QStringList>

// The single row of the server table beallit, as the program uses it.
// Defaults are those applied when a column is NULL.
struct ProgramSettings
{
    QStringList m = QStringList(8);           // m1 .. m8: fields of list columns 5 to 12
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
    QString megnyitasutvonal;                 // the data folder's tmp folder when NULL or empty
    bool mentescsoport = false;
    bool isftp = false;
    bool doksititkosit = false;
    // Edited on the settings screen only; the numbering on the server reads them.
    bool vansorszam = false;
    bool mindigegyrolindul = false;
    bool alszamevenkent = false;
    QString verzioelfogadva;
    int hirelfogadva = 0;
};
