-- Korvena iktatás: the views the client reads (it never writes them).
-- Runs on MariaDB 10.11 and MySQL 8 after schema.sql and routines.sql
-- (vw_iktato's identifier follows fn_iktatoaz). Each view is dropped first so the script can be
-- run again on a register.

-- One row per document and per member of the document's group: fcs is the
-- member, so a user's list filters on fcs. A document whose group has no member
-- appears in no list.
-- The documents are read first, in key order, and the membership looked up by its
-- key: the list comes in the order it is shown, with nothing to sort. Left to the
-- optimizer, the join starts from the few membership rows and sorts a whole
-- register's wide rows in a temporary table, so STRAIGHT_JOIN fixes the order.
DROP VIEW IF EXISTS vw_iktato;
CREATE VIEW vw_iktato AS
SELECT
    iktato.iktato,
    iktato.iktato2,
    iktato.az1,
    iktato.az2,
    iktato.targy,
    iktato.ugyf_kitol,
    iktato.ugyf_hova,
    iktato.ugyf_intezkedesre,
    iktato.tarolo,
    iktato.dat_erk,
    iktato.dat_hatid,
    iktato.dat_megorzes,
    iktato.hivszam,
    iktato.torolve,
    iktato.dat_figy,
    iktato.figy_szoveg,
    iktato.nyomtatni,
    iktato.projekt,
    iktato.munkaszam,
    iktato.irany,
    iktato.tipus,
    iktato.filenev,
    iktato.csoport,
    iktato.felhkod,
    iktato.kolcsonadva,
    iktato.kolcsonadva_dat,
    iktato.kolcsonadva_kinek,
    iktato.statusz,
    iktato.kulcsszavak,
    iktato.megjegyzes,
    iktato.origfilenev,
    iktato.filenev2,
    iktato.origfilenev2,
    iktato.filenev3,
    iktato.origfilenev3,
    iktato.eredeti,
    iktato.egyebcsop,
    ugyf_kitol.ugyfel_nev AS ugyf_kitol_nev,
    ugyf_kinek.ugyfel_nev AS ugyf_kinek_nev,
    ugyf_intezkedesre.ugyfel_nev AS ugyf_intezkedesre_nev,
    projekt.projekt_nev,
    munkaszam.munkaszam_nev,
    tipus.tipus_nev,
    csoport.csoport_nev,
    IF(LENGTH(iktato.targy) <= 40, iktato.targy, CONCAT(TRIM(LEFT(iktato.targy, 37)), '...')) AS xtargy,
    CAST(IF(iktato.irany = 0, 'be', 'ki') AS CHAR(2) CHARACTER SET latin2) COLLATE latin2_hungarian_ci AS irany_nev,
    -- The main number as shown ("0012") and its name.
    CAST(CONCAT_WS(' ', LPAD(iktato.az1, GREATEST(4, CHAR_LENGTH(iktato.az1)), '0'), foszam.foszam_nev)
         AS CHAR(53) CHARACTER SET latin2) COLLATE latin2_hungarian_ci AS foszamstr,
    fcs.felhkod AS fcs,
    -- Only a status flagged as done counts; no status at all means still open.
    CAST(IF(statusz.kesz = 'I', 'I', 'N') AS CHAR(1) CHARACTER SET latin2) COLLATE latin2_hungarian_ci AS kesz,
    -- fn_iktatoaz(iktato, az1, az2, dat_erk) written out: a stored function called for
    -- every row made each list search about eight times slower.
    CAST(CONCAT(
        IF(iktato.iktato < 0, '-', ''),
        LPAD(ABS(iktato.iktato), GREATEST(4, CHAR_LENGTH(ABS(iktato.iktato))), '0'), '/',
        IF(IFNULL(iktato.az1, 0) < 0, '-', ''),
        LPAD(ABS(IFNULL(iktato.az1, 0)), GREATEST(2, CHAR_LENGTH(ABS(IFNULL(iktato.az1, 0)))), '0'), '/',
        IF(IFNULL(iktato.az2, 0) < 0, '-', ''),
        LPAD(ABS(IFNULL(iktato.az2, 0)), GREATEST(2, CHAR_LENGTH(ABS(IFNULL(iktato.az2, 0)))), '0'), '/',
        LPAD(IFNULL(YEAR(iktato.dat_erk), 0), GREATEST(4, CHAR_LENGTH(IFNULL(YEAR(iktato.dat_erk), 0))), '0'))
        AS CHAR(50) CHARACTER SET latin2) COLLATE latin2_hungarian_ci AS iktatoaz
FROM iktato
    LEFT JOIN projekt ON projekt.projekt = iktato.projekt
    LEFT JOIN munkaszam ON munkaszam.munkaszam = iktato.munkaszam
    LEFT JOIN tipus ON tipus.tipus = iktato.tipus
    LEFT JOIN ugyfel ugyf_intezkedesre ON ugyf_intezkedesre.ugyfel = iktato.ugyf_intezkedesre
    LEFT JOIN ugyfel ugyf_kinek ON ugyf_kinek.ugyfel = iktato.ugyf_hova
    LEFT JOIN ugyfel ugyf_kitol ON ugyf_kitol.ugyfel = iktato.ugyf_kitol
    LEFT JOIN csoport ON csoport.csoport = iktato.csoport
    LEFT JOIN foszam ON foszam.foszam = iktato.az1
    LEFT JOIN statusz ON statusz.statusz = iktato.statusz
    STRAIGHT_JOIN felhkod_csoport fcs ON fcs.csoport = iktato.csoport;

-- Attached files with the login code of the user who attached them.
DROP VIEW IF EXISTS vw_iktato_file;
CREATE VIEW vw_iktato_file AS
SELECT
    iktato_file.iktato_file,
    iktato_file.iktato,
    iktato_file.filenev,
    iktato_file.origfilenev,
    iktato_file.felhkod,
    iktato_file.rogzitve,
    felhasznalo.felhasznalo
FROM iktato_file
    LEFT JOIN felhasznalo ON felhasznalo.felhkod = iktato_file.felhkod;

-- Clients that are not deleted, with their address in one line:
-- "1234 Város, Utca 1." (missing parts are left out with their separator).
DROP VIEW IF EXISTS vw_ugyfel;
CREATE VIEW vw_ugyfel AS
SELECT
    ugyfel.ugyfel,
    ugyfel.ugyfel_nev,
    ugyfel.irsz,
    ugyfel.varos,
    ugyfel.cim,
    ugyfel.ui,
    ugyfel.telefon,
    ugyfel.emil,
    ugyfel.belso,
    ugyfel.webuser,
    ugyfel.webpwd,
    ugyfel.kellsorvika,
    ugyfel.kellemil,
    ugyfel.kellsms,
    ugyfel.torolve,
    ugyfel.dat_torolve,
    CAST(CONCAT_WS(', ', NULLIF(CONCAT_WS(' ', NULLIF(ugyfel.irsz, ''), NULLIF(ugyfel.varos, '')), ''),
                   NULLIF(ugyfel.cim, ''))
         AS CHAR(83) CHARACTER SET latin2) COLLATE latin2_hungarian_ci AS cimstr
FROM ugyfel
WHERE ugyfel.torolve IS NULL OR ugyfel.torolve <> 'I';

-- Users with the names of their groups in one text, in name order.
DROP VIEW IF EXISTS vw_felhasznalo;
CREATE VIEW vw_felhasznalo AS
SELECT
    felhasznalo.felhkod,
    felhasznalo.felhasznalo,
    felhasznalo.felhasznalo_nev,
    felhasznalo.rendszergazda,
    felhasznalo.torzsszerkeszt,
    felhasznalo.csaksajat,
    felhasznalo.canins,
    felhasznalo.canedit,
    felhasznalo.candel,
    felhasznalo.jelszomd5,
    felhasznalo.torolve,
    felhasznalo.dat_torolve,
    felhasznalo.rogzitve,
    CAST(LEFT((SELECT GROUP_CONCAT(cs.csoport_nev ORDER BY cs.csoport_nev SEPARATOR ', ')
               FROM felhkod_csoport fc
                   INNER JOIN csoport cs ON cs.csoport = fc.csoport
               WHERE fc.felhkod = felhasznalo.felhkod), 255)
         AS CHAR(255) CHARACTER SET latin2) COLLATE latin2_hungarian_ci AS csopstr
FROM felhasznalo;

-- Membership rows with the group's name.
DROP VIEW IF EXISTS vw_felhkod_csoport;
CREATE VIEW vw_felhkod_csoport AS
SELECT
    felhkod_csoport.felhkod,
    felhkod_csoport.csoport,
    csoport.csoport_nev
FROM felhkod_csoport
    LEFT JOIN csoport ON csoport.csoport = felhkod_csoport.csoport;

-- The owner as the reports' letterhead reads it: postal code and town in one text.
DROP VIEW IF EXISTS vw_tulajdonos;
CREATE VIEW vw_tulajdonos AS
SELECT
    tulajdonos.tulajdonos,
    tulajdonos.telefon,
    tulajdonos.mobil,
    tulajdonos.fax,
    tulajdonos.irsz,
    tulajdonos.varos,
    tulajdonos.cim,
    tulajdonos.adoszam,
    tulajdonos.bankszamlaszam,
    tulajdonos.betujel,
    tulajdonos.tulajdonos_azon,
    CAST(CONCAT_WS(' ', NULLIF(tulajdonos.irsz, ''), NULLIF(tulajdonos.varos, ''))
         AS CHAR(31) CHARACTER SET latin2) COLLATE latin2_hungarian_ci AS irszvaros
FROM tulajdonos;
