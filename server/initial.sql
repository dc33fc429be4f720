-- Korvena iktatás: what a new register holds, so it can be used at once.
-- Runs after schema.sql, routines.sql and views.sql.

INSERT INTO verzio (verzio) VALUES ('24.0.0.367');

-- The default group; the built-in administrator is its member, and documents go
-- to it while groups are not used (beallit.alapcsoport).
INSERT INTO csoport (csoport, csoport_nev, torolve) VALUES (1, 'Általános', 'N');

-- The built-in administrator (initial password "pirkalo").
INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, rendszergazda, torzsszerkeszt, csaksajat,
                         canins, canedit, candel, jelszomd5, torolve)
    VALUES (1, 'rendszergazda', 'rendszergazda', 'I', 'I', 'N', 'I', 'I', 'I', MD5('pirkalo'), 'N');
INSERT INTO felhkod_csoport (felhkod, csoport) VALUES (1, 1);

-- Settings: the values the client applies when a column is NULL, written out.
-- Exception: alapcsoport is the default group above, not 0, since documents of
-- group 0 would be seen by nobody.
INSERT INTO beallit (beallit, m1, m2, m3, m4, m5, m6, m7, m8,
                     vanbelep, azhelyettfoszam, vansorszam, mindigegyrolindul, alszamevenkent, vanfoszam,
                     foszamsorszam, alszamreadonly, vanmunkaszamkerdes, vanprojektkerdes, vantipuskerdes,
                     vancsoport, irasvedett, azonnalment, mentescsoport, isftp, doksititkosit,
                     alapcsoport, hatidfigyel, szabadmezo, mezo1, mezo2, mezo3, mezo4, mezo5, mezo6,
                     megjeleno_adatok, mentesutvonal, megnyitasutvonal, ftp_user, ftp_pwd, ftp_host, ftp_mappa,
                     verzioelfogadva, hirelfogadva)
    VALUES (1, 'iktatoaz', 'xtargy', 'ugyf_kitol_nev', 'ugyf_kinek_nev', 'tarolo', 'dat_erk', 'dat_hatid',
            'csoport_nev',
            'N', 'N', 'N', 'N', 'N', 'N',
            'N', 'N', 'N', 'N', 'N',
            'N', 'N', 'N', 'N', 'N', 'N',
            1, -1, 'tarolo', 'Munkaszám', 'Projekt', 'Típus', 'Hiv.szám', 'Tároló', 'Egyéb',
            '                 ', '', '', '', '', '', '',
            '', 0);

-- The organisation: one row, to be filled in by the administrator.
INSERT INTO tulajdonos (tulajdonos_azon, tulajdonos, telefon, mobil, fax, irsz, varos, cim, adoszam,
                        bankszamlaszam, betujel)
    VALUES (1, '', '', '', '', '', '', '', '', '', '');

-- The online document store's settings: one empty row for its settings screen.
INSERT INTO sv_beallit (sv_beallit, targy, szoveg, felado, ftp_host, ftp_username, ftp_password, ftp_mappa,
                        ftp_port, betoltphp, torolphp)
    VALUES (1, '', '', '', '', '', '', '', 21, '', '');
