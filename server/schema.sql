-- Korvena iktatás: the tables of a register.
-- Runs on MariaDB 10.11 and MySQL 8 in a database created with
-- CHARACTER SET latin2 COLLATE latin2_hungarian_ci.
-- Column order is the order the client's records hold them; a key column that a
-- one-row table needed only for replication goes last, so the listed order stays.

-- The register: one row per document.
CREATE TABLE iktato (
    iktato INT NOT NULL AUTO_INCREMENT,
    iktato2 INT NULL,
    az1 INT NULL,
    az2 INT NULL,
    targy VARCHAR(255) NULL,
    ugyf_kitol INT NULL,
    ugyf_hova INT NULL,
    ugyf_intezkedesre INT NULL,
    tarolo VARCHAR(50) NULL,
    dat_erk DATE NULL,
    dat_hatid DATE NULL,
    dat_megorzes DATE NULL,
    hivszam VARCHAR(50) NULL,
    torolve CHAR(1) NULL DEFAULT 'N',
    dat_figy DATE NULL,
    figy_szoveg VARCHAR(100) NULL,
    nyomtatni CHAR(1) NULL DEFAULT 'N',
    projekt INT NULL,
    munkaszam INT NULL,
    irany INT NULL,
    tipus INT NULL,
    filenev VARCHAR(128) NULL,
    csoport INT NULL,
    felhkod INT NULL,
    kolcsonadva CHAR(1) NULL DEFAULT 'N',
    kolcsonadva_dat DATE NULL,
    kolcsonadva_kinek VARCHAR(50) NULL,
    statusz INT NULL,
    kulcsszavak VARCHAR(100) NULL,
    megjegyzes VARCHAR(1024) NULL,
    origfilenev VARCHAR(128) NULL,
    filenev2 VARCHAR(128) NULL,
    origfilenev2 VARCHAR(128) NULL,
    filenev3 VARCHAR(128) NULL,
    origfilenev3 VARCHAR(128) NULL,
    eredeti INT NULL,
    egyebcsop INT NULL,
    PRIMARY KEY (iktato),
    -- One group's documents: the key's own end is the primary key, so they come
    -- in the list's order with nothing to sort, on every direction tab.
    KEY ix_iktato_lista (csoport, torolve),
    -- Year tabs and period filters; with iktato2, the largest serial number of a
    -- day, which the yearly restart of the numbering reads day by day.
    KEY ix_iktato_dat_erk (dat_erk, iktato2),
    -- The largest serial number in use, for numbering without yearly restart.
    KEY ix_iktato_sorszam (iktato2),
    -- The main-number filter and the largest sub-number of a main number, in all
    -- years or (with dat_erk) in one.
    KEY ix_iktato_foszam (az1, az2),
    KEY ix_iktato_foszam_ev (az1, dat_erk, az2),
    KEY ix_iktato_dat_hatid (dat_hatid),
    KEY ix_iktato_dat_figy (dat_figy),
    -- The editor's list of storage places reads the few distinct places off this
    -- key instead of every document.
    KEY ix_iktato_tarolo (tarolo)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Attached files. A file always belongs to a document: the list's "no attached
-- file" entry reads iktato NOT IN (SELECT iktato FROM iktato_file), which one
-- NULL would turn into a condition no document meets.
CREATE TABLE iktato_file (
    iktato_file INT NOT NULL AUTO_INCREMENT,
    iktato INT NOT NULL,
    filenev VARCHAR(128) NULL,
    origfilenev VARCHAR(128) NULL,
    felhkod INT NULL,
    rogzitve DATETIME NULL DEFAULT CURRENT_TIMESTAMP,
    PRIMARY KEY (iktato_file),
    KEY ix_iktato_file_iktato (iktato),
    -- Two attachments never share a stored copy: a workstation that took a name
    -- holds it, and the other steps to the next one.
    UNIQUE KEY ux_iktato_file_filenev (filenev)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- The text read from attached files, for the content search: derived data, one row
-- per attachment once it was read (an empty text when nothing could be read, so it
-- is not read again). Deleting the attachment deletes its text.
CREATE TABLE iktato_szoveg (
    iktato_file INT NOT NULL,
    iktato INT NOT NULL,
    szoveg MEDIUMTEXT NOT NULL,
    olvasva DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP,
    modszer VARCHAR(10) NOT NULL,
    PRIMARY KEY (iktato_file),
    KEY ix_iktato_szoveg_iktato (iktato),
    FULLTEXT KEY ft_iktato_szoveg_szoveg (szoveg)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Change journal.
CREATE TABLE iktnaplo (
    iktnaplo INT NOT NULL AUTO_INCREMENT,
    iktato INT NULL,
    felhkod INT NULL,
    datum DATETIME NULL DEFAULT CURRENT_TIMESTAMP,
    szoveg LONGTEXT NULL,
    PRIMARY KEY (iktnaplo),
    KEY ix_iktnaplo_iktato (iktato),
    KEY ix_iktnaplo_felhkod (felhkod),
    KEY ix_iktnaplo_datum (datum)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Copies of a document sent to clients; a repeated pair is dropped by INSERT IGNORE.
CREATE TABLE masolat (
    iktato INT NOT NULL,
    ugyfel INT NOT NULL,
    rogzitve DATETIME NULL DEFAULT CURRENT_TIMESTAMP,
    PRIMARY KEY (iktato, ugyfel)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Clients: external partners and internal persons.
CREATE TABLE ugyfel (
    ugyfel INT NOT NULL AUTO_INCREMENT,
    ugyfel_nev VARCHAR(50) NULL,
    irsz VARCHAR(5) NULL,
    varos VARCHAR(25) NULL,
    cim VARCHAR(50) NULL,
    ui VARCHAR(50) NULL,
    telefon VARCHAR(50) NULL,
    emil VARCHAR(100) NULL,
    belso CHAR(1) NULL DEFAULT 'N',
    webuser VARCHAR(20) NULL,
    webpwd VARCHAR(20) NULL,
    kellsorvika CHAR(1) NULL DEFAULT 'N',
    kellemil CHAR(1) NULL DEFAULT 'N',
    kellsms CHAR(1) NULL DEFAULT 'N',
    torolve CHAR(1) NULL DEFAULT 'N',
    dat_torolve DATETIME NULL,
    PRIMARY KEY (ugyfel),
    KEY ix_ugyfel_nev (ugyfel_nev)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Postal codes; one code may serve several towns.
CREATE TABLE irsz (
    irsz VARCHAR(5) NOT NULL,
    varos VARCHAR(25) NOT NULL,
    PRIMARY KEY (irsz, varos)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Groups: who sees a document, and the storage folder of its files.
CREATE TABLE csoport (
    csoport INT NOT NULL AUTO_INCREMENT,
    csoport_nev VARCHAR(25) NULL,
    torolve CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (csoport)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Group membership; a repeated pair is dropped by INSERT IGNORE.
CREATE TABLE felhkod_csoport (
    felhkod INT NOT NULL,
    csoport INT NOT NULL,
    PRIMARY KEY (felhkod, csoport),
    KEY ix_felhkod_csoport_csoport (csoport, felhkod)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Users. The key is computed by the client; the login code is unique whatever
-- its letter case (the collation decides), deleted users included.
CREATE TABLE felhasznalo (
    felhkod INT NOT NULL,
    felhasznalo VARCHAR(20) NULL,
    felhasznalo_nev VARCHAR(20) NULL,
    rendszergazda CHAR(1) NULL DEFAULT 'N',
    torzsszerkeszt CHAR(1) NULL DEFAULT 'N',
    csaksajat CHAR(1) NULL DEFAULT 'N',
    canins CHAR(1) NULL DEFAULT 'I',
    canedit CHAR(1) NULL DEFAULT 'I',
    candel CHAR(1) NULL DEFAULT 'I',
    jelszomd5 VARCHAR(50) NULL,
    torolve CHAR(1) NULL DEFAULT 'N',
    dat_torolve DATETIME NULL,
    rogzitve DATETIME NULL DEFAULT CURRENT_TIMESTAMP,
    PRIMARY KEY (felhkod),
    UNIQUE KEY ux_felhasznalo (felhasznalo)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Main numbers, keyed by the number the user enters.
CREATE TABLE foszam (
    foszam INT NOT NULL,
    foszam_nev VARCHAR(50) NULL,
    torolve CHAR(1) NULL DEFAULT 'N',
    dat_torolve DATETIME NULL,
    PRIMARY KEY (foszam)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Statuses 0 to 9; kesz = 'I' takes a document off the deadline warning.
CREATE TABLE statusz (
    statusz INT NOT NULL,
    statusz_nev VARCHAR(50) NULL,
    kesz CHAR(1) NULL DEFAULT 'N',
    szin VARCHAR(20) NULL,
    PRIMARY KEY (statusz)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Generic master data: key and name column named after the table.
CREATE TABLE projekt (
    projekt INT NOT NULL AUTO_INCREMENT,
    projekt_nev VARCHAR(50) NULL,
    PRIMARY KEY (projekt)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE munkaszam (
    munkaszam INT NOT NULL AUTO_INCREMENT,
    munkaszam_nev VARCHAR(50) NULL,
    PRIMARY KEY (munkaszam)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE tipus (
    tipus INT NOT NULL AUTO_INCREMENT,
    tipus_nev VARCHAR(25) NULL,
    torolve CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (tipus)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE egyebcsop (
    egyebcsop INT NOT NULL AUTO_INCREMENT,
    egyebcsop_nev VARCHAR(50) NULL,
    PRIMARY KEY (egyebcsop)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Program settings: one row.
CREATE TABLE beallit (
    m1 VARCHAR(50) NULL,
    m2 VARCHAR(50) NULL,
    m3 VARCHAR(50) NULL,
    m4 VARCHAR(50) NULL,
    m5 VARCHAR(50) NULL,
    m6 VARCHAR(50) NULL,
    m7 VARCHAR(50) NULL,
    m8 VARCHAR(50) NULL,
    vanbelep CHAR(1) NULL DEFAULT 'N',
    azhelyettfoszam CHAR(1) NULL DEFAULT 'N',
    vansorszam CHAR(1) NULL DEFAULT 'N',
    mindigegyrolindul CHAR(1) NULL DEFAULT 'N',
    alszamevenkent CHAR(1) NULL DEFAULT 'N',
    vanfoszam CHAR(1) NULL DEFAULT 'N',
    foszamsorszam CHAR(1) NULL DEFAULT 'N',
    alszamreadonly CHAR(1) NULL DEFAULT 'N',
    vanmunkaszamkerdes CHAR(1) NULL DEFAULT 'N',
    vanprojektkerdes CHAR(1) NULL DEFAULT 'N',
    vantipuskerdes CHAR(1) NULL DEFAULT 'N',
    vancsoport CHAR(1) NULL DEFAULT 'N',
    irasvedett CHAR(1) NULL DEFAULT 'N',
    azonnalment CHAR(1) NULL DEFAULT 'N',
    mentescsoport CHAR(1) NULL DEFAULT 'N',
    isftp CHAR(1) NULL DEFAULT 'N',
    doksititkosit CHAR(1) NULL DEFAULT 'N',
    alapcsoport INT NULL,
    hatidfigyel INT NULL,
    szabadmezo VARCHAR(50) NULL,
    mezo1 VARCHAR(50) NULL,
    mezo2 VARCHAR(50) NULL,
    mezo3 VARCHAR(50) NULL,
    mezo4 VARCHAR(50) NULL,
    mezo5 VARCHAR(50) NULL,
    mezo6 VARCHAR(50) NULL,
    megjeleno_adatok VARCHAR(20) NULL,
    mentesutvonal VARCHAR(255) NULL,
    megnyitasutvonal VARCHAR(255) NULL,
    ftp_user VARCHAR(100) NULL,
    ftp_pwd VARCHAR(100) NULL,
    ftp_host VARCHAR(100) NULL,
    ftp_mappa VARCHAR(255) NULL,
    verzioelfogadva VARCHAR(20) NULL,
    hirelfogadva INT NULL,
    beallit INT NOT NULL AUTO_INCREMENT,
    PRIMARY KEY (beallit)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- The organisation that runs the register: one row. Its name column bears the
-- table's name, so the key is tulajdonos_azon.
CREATE TABLE tulajdonos (
    tulajdonos VARCHAR(100) NULL,
    telefon VARCHAR(25) NULL,
    mobil VARCHAR(25) NULL,
    fax VARCHAR(25) NULL,
    irsz VARCHAR(5) NULL,
    varos VARCHAR(25) NULL,
    cim VARCHAR(50) NULL,
    adoszam VARCHAR(11) NULL,
    bankszamlaszam VARCHAR(24) NULL,
    betujel VARCHAR(10) NULL,
    tulajdonos_azon INT NOT NULL AUTO_INCREMENT,
    PRIMARY KEY (tulajdonos_azon)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Messages shown in the main window.
CREATE TABLE uzenet (
    uzenet INT NOT NULL AUTO_INCREMENT,
    szoveg TEXT NULL,
    link VARCHAR(255) NULL,
    csakegyszer CHAR(1) NULL DEFAULT 'N',
    olvasva CHAR(1) NULL DEFAULT 'N',
    dat_olvasva DATETIME NULL,
    PRIMARY KEY (uzenet)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- The database version; the client compares MAX(verzio) with its own.
CREATE TABLE verzio (
    verzio VARCHAR(20) NOT NULL,
    PRIMARY KEY (verzio)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Work table of the barcode print. Every workstation prints through it, so each
-- session keeps to its own rows (kapcsolat = CONNECTION_ID()); azon is a position
-- on the label sheet, so the key is a column of its own.
CREATE TABLE vkod (
    azon INT NULL,
    vkod VARCHAR(7) NULL,
    vkod_nev VARCHAR(50) NULL,
    vkod_azon INT NOT NULL AUTO_INCREMENT,
    kapcsolat BIGINT UNSIGNED NOT NULL DEFAULT 0,
    PRIMARY KEY (vkod_azon),
    KEY ix_vkod_kapcsolat (kapcsolat, azon)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Configurable exports.
CREATE TABLE csvexp (
    csvexp INT NOT NULL AUTO_INCREMENT,
    csvexp_nev VARCHAR(50) NULL,
    kategoria VARCHAR(45) NULL,
    mezonevek VARCHAR(100) NULL,
    mezocimkek VARCHAR(100) NULL,
    szoveg_sql LONGTEXT NULL,
    csopmezok VARCHAR(100) NULL,
    summezok VARCHAR(100) NULL,
    file_local VARCHAR(100) NULL,
    file_ftp VARCHAR(100) NULL,
    ftp_kell CHAR(1) NULL DEFAULT 'N',
    hatarolo INT NULL,
    szovegjelolo INT NULL,
    ftp_user VARCHAR(50) NULL,
    ftp_jelszo VARCHAR(50) NULL,
    host_ftp VARCHAR(100) NULL,
    adatcentrum CHAR(1) NULL DEFAULT 'N',
    ezgrafikon CHAR(1) NULL DEFAULT 'N',
    parameterek VARCHAR(50) NULL,
    grafikonparam VARCHAR(100) NULL,
    keresmezok VARCHAR(100) NULL,
    PRIMARY KEY (csvexp)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Settings of the online document store: one row.
CREATE TABLE sv_beallit (
    sv_beallit INT NOT NULL AUTO_INCREMENT,
    targy VARCHAR(100) NULL,
    szoveg LONGTEXT NULL,
    felado VARCHAR(50) NULL,
    ftp_host VARCHAR(50) NULL,
    ftp_username VARCHAR(50) NULL,
    ftp_password VARCHAR(50) NULL,
    ftp_mappa VARCHAR(50) NULL,
    ftp_port INT NULL,
    betoltphp VARCHAR(100) NULL,
    torolphp VARCHAR(100) NULL,
    PRIMARY KEY (sv_beallit)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Files handed over to the online document store (sp_svadd); the store's load
-- page picks them up by document.
CREATE TABLE sv_file (
    sv_file INT NOT NULL AUTO_INCREMENT,
    iktato INT NULL,
    ugyfel INT NULL,
    filenev VARCHAR(128) NULL,
    mime VARCHAR(100) NULL,
    rogzitve DATETIME NULL DEFAULT CURRENT_TIMESTAMP,
    PRIMARY KEY (sv_file),
    KEY ix_sv_file_iktato (iktato)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Numbering counters of sp_iktato and sp_maxaz2. One row per sequence: szamlalo
-- names it ('iktato2' serial numbers, 'az2' sub-numbers), foszam is the main
-- number (0 for serial numbers), ev the year when the sequence restarts yearly
-- (0 when it never restarts). ertek is the last number handed out. The row is
-- locked by the increment, which keeps concurrent registrations apart.
CREATE TABLE szamlalo (
    szamlalo VARCHAR(10) NOT NULL,
    foszam INT NOT NULL,
    ev INT NOT NULL,
    ertek INT NOT NULL,
    PRIMARY KEY (szamlalo, foszam, ev)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;
