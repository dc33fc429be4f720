#pragma once

#include "db/DbHelpers.h"

#include <QStringList>

// A handful of documents that between them show every list rule: three
// directions, two years and one without a date, markers, a deleted document,
// one in a group the administrator (user 1) is not a member of, and texts that
// a search must take literally.
namespace DocumentFixture {

inline void load()
{
    const QStringList sql = {
        QStringLiteral("INSERT INTO csoport (csoport, csoport_nev, torolve) VALUES (2, 'Titkos', 'N')"),
        QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (1, 'Kiss Péter'), (2, 'Nagy Anna'), "
                       "(3, 'Kovács és Társa Bt.'), (4, 'O''Neil Kft.')"),
        QStringLiteral(
            "INSERT INTO tipus (tipus, tipus_nev, torolve) VALUES (1, 'Levél', 'N'), (2, 'Számla', 'N')"),
        QStringLiteral("INSERT INTO egyebcsop (egyebcsop, egyebcsop_nev) VALUES (1, 'Pályázat')"),
        QStringLiteral("INSERT INTO statusz (statusz, statusz_nev) VALUES (0, 'Új'), (1, 'Folyamatban'), "
                       "(3, NULL), (5, 'Kész'), (12, 'Túl nagy')"),
        QStringLiteral("INSERT INTO iktato (iktato, az1, az2, targy, ugyf_kitol, ugyf_hova, dat_erk, "
                       "dat_hatid, irany, csoport, "
                       "dat_figy, figy_szoveg, nyomtatni, kolcsonadva, kolcsonadva_kinek, kolcsonadva_dat, "
                       "statusz, tipus, "
                       "egyebcsop, hivszam, torolve) VALUES "
                       "(101, 1, 1, 'Pécsi fiók bérleti szerződése', 1, 2, '2024-03-01', '2024-04-30', 0, 1, "
                       "'2024-04-01', "
                       "'Visszahívni a bérbeadót', 'I', 'N', NULL, NULL, 3, 1, NULL, 'H-1', 'N'), "
                       "(102, 1, 2, 'Számla 50% kedvezménnyel', 3, 2, '2024-03-05', '2024-04-05', 0, 1, "
                       "NULL, NULL, 'N', 'I', "
                       "'Szabó Éva', '2024-03-10', NULL, 2, NULL, 'a_b', 'N'), "
                       "(103, 2, 1, 'Válaszlevél Pécsre', 2, 1, '2024-02-10', '2024-03-10', 1, 1, NULL, "
                       "NULL, 'N', 'N', NULL, "
                       "NULL, 0, 1, 1, NULL, 'N'), "
                       "(104, 3, 1, 'Belső feljegyzés C:\\\\dok', NULL, NULL, '2024-01-20', '2000-01-25', 2, "
                       "1, NULL, NULL, "
                       "'N', 'N', NULL, NULL, 5, NULL, NULL, NULL, 'N'), "
                       "(105, 1, 3, 'Régi irat', 4, 1, '2023-06-01', '2023-07-01', 0, 1, NULL, NULL, 'N', "
                       "'N', NULL, NULL, "
                       "12, NULL, NULL, NULL, 'N'), "
                       "(106, 1, 4, 'Dátum nélküli', 2, 1, NULL, NULL, 0, 1, NULL, NULL, 'N', 'N', NULL, "
                       "NULL, NULL, NULL, "
                       "NULL, NULL, 'N'), "
                       "(107, 1, 5, 'Törölt Kiss pécsi ügy', 1, 2, '2024-03-07', NULL, 0, 1, NULL, NULL, "
                       "'N', 'N', NULL, NULL, "
                       "NULL, NULL, NULL, NULL, 'I'), "
                       "(108, 1, 6, 'Titkos Kiss pécsi ügy', 1, 2, '2024-03-08', NULL, 0, 2, NULL, NULL, "
                       "'N', 'N', NULL, NULL, "
                       "NULL, NULL, NULL, NULL, 'N')"),
        QStringLiteral("INSERT INTO iktato_file (iktato, filenev, origfilenev, felhkod, rogzitve) VALUES "
                       "(101, '00000101_1.pdf', 'szerzodes.pdf', 1, '2024-03-02 10:00:00'), "
                       "(101, '00000101_2.pdf', 'melleklet.pdf', 1, '2024-03-03 11:00:00'), "
                       "(103, '00000103_1.doc', 'valasz.doc', 1, '2024-02-11 09:00:00')"),
    };
    for (const QString &s : sql)
        ExecSql(s);
}

} // namespace DocumentFixture
