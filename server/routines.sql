-- Korvena iktatás: the stored function and procedures of a register.
-- Runs on MariaDB 10.11 and MySQL 8; each routine is dropped first so the
-- script can be run again on a register to bring its routines up to date.

DELIMITER $$

-- The registration identifier: document key with at least four digits, main
-- number and sub-number with at least two, and the year of arrival with four,
-- separated by '/': (123, 5, 1, 2024-03-05) gives '0123/05/01/2024'. Longer
-- numbers are never cut. A NULL number counts as 0 and a NULL date as year 0,
-- so every document has an identifier ('0123/00/00/0000' at worst).
DROP FUNCTION IF EXISTS fn_iktatoaz $$
CREATE FUNCTION fn_iktatoaz(piktato INT, paz1 INT, paz2 INT, pdat_erk DATE)
    RETURNS VARCHAR(50) CHARSET latin2 COLLATE latin2_hungarian_ci
    DETERMINISTIC NO SQL
BEGIN
    DECLARE v_iktato BIGINT DEFAULT IFNULL(piktato, 0);
    DECLARE v_az1 BIGINT DEFAULT IFNULL(paz1, 0);
    DECLARE v_az2 BIGINT DEFAULT IFNULL(paz2, 0);
    DECLARE v_ev BIGINT DEFAULT IFNULL(YEAR(pdat_erk), 0);
    -- No document, no identifier: a journal row may outlive its document.
    IF piktato IS NULL THEN
        RETURN NULL;
    END IF;
    RETURN CONCAT(
        IF(v_iktato < 0, '-', ''), LPAD(ABS(v_iktato), GREATEST(4, CHAR_LENGTH(ABS(v_iktato))), '0'), '/',
        IF(v_az1 < 0, '-', ''), LPAD(ABS(v_az1), GREATEST(2, CHAR_LENGTH(ABS(v_az1))), '0'), '/',
        IF(v_az2 < 0, '-', ''), LPAD(ABS(v_az2), GREATEST(2, CHAR_LENGTH(ABS(v_az2))), '0'), '/',
        LPAD(v_ev, GREATEST(4, CHAR_LENGTH(v_ev)), '0'));
END $$

-- Numbering: each sequence is one row of szamlalo holding the last number
-- handed out. The row is made first, in a statement of its own outside any
-- transaction (two sessions making the same row at once would otherwise wait
-- for each other's shared locks); handing out a number is then one UPDATE,
-- whose exclusive row lock lasts to the end of the caller's transaction, so two
-- sessions never get the same number. LAST_INSERT_ID(expr) carries the value out
-- of the UPDATE for this session only.
--
-- A counter knows only the numbers it handed out itself. Documents also get
-- numbers elsewhere: from the other sequence while the yearly restart was
-- switched the other way, or from an import. So every number is also above the
-- largest one the sequence's documents already carry. That largest number is
-- read before the transaction, without locks; the counter keeps concurrent
-- sessions apart, and the indexes keep the read to a few look-ups.

-- Makes the counter row unless it exists.
DROP PROCEDURE IF EXISTS sp_szamlalo_sor $$
CREATE PROCEDURE sp_szamlalo_sor(IN pszamlalo VARCHAR(10), IN pfoszam INT, IN pev INT)
BEGIN
    IF NOT EXISTS (SELECT 1 FROM szamlalo WHERE szamlalo = pszamlalo AND foszam = pfoszam AND ev = pev) THEN
        INSERT IGNORE INTO szamlalo (szamlalo, foszam, ev, ertek) VALUES (pszamlalo, pfoszam, pev, 0);
    END IF;
END $$

-- The next number of a counter: one more than the last one handed out, never
-- less than pmin.
DROP PROCEDURE IF EXISTS sp_szamlalo $$
CREATE PROCEDURE sp_szamlalo(IN pszamlalo VARCHAR(10), IN pfoszam INT, IN pev INT, IN pmin BIGINT,
                             OUT pertek BIGINT)
BEGIN
    UPDATE szamlalo SET ertek = LAST_INSERT_ID(GREATEST(ertek + 1, IFNULL(pmin, 1)))
        WHERE szamlalo = pszamlalo AND foszam = pfoszam AND ev = pev;
    IF ROW_COUNT() <> 1 THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'A sorszámozás számlálója hiányzik.';
    END IF;
    SET pertek = LAST_INSERT_ID();
END $$

-- The serial-number sequence of a document arriving on pma: its year (that of
-- pma with beallit.mindigegyrolindul = 'I', else 0, never restarting), its
-- counter row, and the largest serial number in use in it.
DROP PROCEDURE IF EXISTS sp_sorszam_sor $$
CREATE PROCEDURE sp_sorszam_sor(IN pma DATE, OUT pev INT, OUT putolso BIGINT)
BEGIN
    SET pev = 0;
    IF (SELECT mindigegyrolindul FROM beallit ORDER BY beallit LIMIT 1) <=> 'I' THEN
        SET pev = YEAR(pma);
    END IF;
    CALL sp_szamlalo_sor('iktato2', 0, pev);
    IF pev = 0 THEN
        SET putolso = (SELECT MAX(iktato2) FROM iktato);
    ELSE
        -- The largest of each day's largest: one index look-up per day of the
        -- year (ix_iktato_dat_erk) instead of reading every document of the year.
        SET putolso = (SELECT MAX(napi) FROM (SELECT MAX(iktato2) AS napi FROM iktato
                                              WHERE dat_erk >= MAKEDATE(pev, 1) AND dat_erk < MAKEDATE(pev + 1, 1)
                                              GROUP BY dat_erk) AS napok);
    END IF;
END $$

-- The sub-number sequence of main number paz1 for a document arriving on pma:
-- its year (that of pma with beallit.alszamevenkent = 'I', else 0, never
-- restarting), its counter row, and the largest sub-number in use in it, so a
-- sub-number typed by hand is not handed out again.
DROP PROCEDURE IF EXISTS sp_alszam_sor $$
CREATE PROCEDURE sp_alszam_sor(IN paz1 INT, IN pma DATE, OUT pev INT, OUT putolso BIGINT)
BEGIN
    SET pev = 0;
    IF (SELECT alszamevenkent FROM beallit ORDER BY beallit LIMIT 1) <=> 'I' THEN
        SET pev = YEAR(pma);
    END IF;
    CALL sp_szamlalo_sor('az2', paz1, pev);
    IF pev = 0 THEN
        SET putolso = (SELECT MAX(az2) FROM iktato WHERE az1 = paz1);
    ELSE
        SET putolso = (SELECT MAX(az2) FROM iktato
                       WHERE az1 = paz1 AND dat_erk >= MAKEDATE(pev, 1) AND dat_erk < MAKEDATE(pev + 1, 1));
    END IF;
END $$

-- Creates a document (piktato < 0) or reads one (piktato = its key) and returns
-- its row with the names of its project, work number, type and other grouping.
-- A new document gets the next serial number in iktato2 (restarting at 1 every
-- year when beallit.mindigegyrolindul = 'I'), the next sub-number when a main
-- number is given, arrival today, a deadline 30 days later and retention ten
-- years later. pirany 3 (the list of every direction) registers an incoming
-- document; clients given as -1 are stored as 0 (none); a NULL group falls back to
-- beallit.alapcsoport.
DROP PROCEDURE IF EXISTS sp_iktato $$
CREATE PROCEDURE sp_iktato(IN piktato INT, IN pcsoport INT, IN pirany INT, IN pugyf_kitol INT,
                           IN pugyf_kinek INT, IN paz1 INT, IN pfelhkod INT)
BEGIN
    DECLARE v_iktato INT DEFAULT piktato;
    DECLARE v_ev INT DEFAULT 0;
    DECLARE v_ma DATE;
    DECLARE v_utolso BIGINT;
    DECLARE v_alszam_ev INT;
    DECLARE v_alszam_utolso BIGINT;
    DECLARE v_sorszam BIGINT;
    DECLARE v_az1 INT DEFAULT IFNULL(paz1, 0);
    DECLARE v_az2 BIGINT DEFAULT NULL;
    DECLARE v_csoport INT DEFAULT pcsoport;
    -- The caller's transaction when one is open (the program's), else one of its own.
    DECLARE v_sajat BOOLEAN DEFAULT @@in_transaction = 0;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sajat THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    IF piktato < 0 THEN
        SET v_ma = CURDATE();
        IF v_csoport IS NULL THEN
            SET v_csoport = IFNULL((SELECT alapcsoport FROM beallit ORDER BY beallit LIMIT 1), 0);
        END IF;
        CALL sp_sorszam_sor(v_ma, v_ev, v_utolso);
        IF v_az1 > 0 THEN
            CALL sp_alszam_sor(v_az1, v_ma, v_alszam_ev, v_alszam_utolso);
        END IF;

        IF v_sajat THEN
            START TRANSACTION;
        END IF;
        CALL sp_szamlalo('iktato2', 0, v_ev, IFNULL(v_utolso, 0) + 1, v_sorszam);
        IF v_az1 > 0 THEN
            CALL sp_szamlalo('az2', v_az1, v_alszam_ev, IFNULL(v_alszam_utolso, 0) + 1, v_az2);
        END IF;

        INSERT INTO iktato (iktato2, az1, az2, ugyf_kitol, ugyf_hova, ugyf_intezkedesre, dat_erk, dat_hatid,
                            dat_megorzes, torolve, nyomtatni, irany, csoport, felhkod, kolcsonadva)
            VALUES (v_sorszam, v_az1, v_az2, IF(pugyf_kitol > 0, pugyf_kitol, 0), IF(pugyf_kinek > 0, pugyf_kinek, 0),
                    0, v_ma, v_ma + INTERVAL 30 DAY, v_ma + INTERVAL 10 YEAR, 'N', 'N',
                    IF(pirany IN (0, 1, 2), pirany, 0), v_csoport, pfelhkod, 'N');
        SET v_iktato = LAST_INSERT_ID();
        IF v_sajat THEN
            COMMIT;
        END IF;
    END IF;

    SELECT i.*, p.projekt_nev, m.munkaszam_nev, t.tipus_nev, e.egyebcsop_nev
        FROM iktato i
        LEFT JOIN projekt p ON p.projekt = i.projekt
        LEFT JOIN munkaszam m ON m.munkaszam = i.munkaszam
        LEFT JOIN tipus t ON t.tipus = i.tipus
        LEFT JOIN egyebcsop e ON e.egyebcsop = i.egyebcsop
        WHERE i.iktato = v_iktato;
END $$

-- The sub-number for main number paz1, as the editor stores it.
DROP PROCEDURE IF EXISTS sp_maxaz2 $$
CREATE PROCEDURE sp_maxaz2(IN paz1 INT)
BEGIN
    DECLARE v_az1 INT DEFAULT IFNULL(paz1, 0);
    DECLARE v_ev INT;
    DECLARE v_utolso BIGINT;
    DECLARE v_az2 BIGINT;
    CALL sp_alszam_sor(v_az1, CURDATE(), v_ev, v_utolso);
    CALL sp_szamlalo('az2', v_az1, v_ev, IFNULL(v_utolso, 0) + 1, v_az2);
    SELECT v_az2 AS maxaz2;
END $$

-- The address block of an envelope; no row for a client that does not exist.
-- ui2, the line under the name, is the client's contact person.
DROP PROCEDURE IF EXISTS sp_boritek $$
CREATE PROCEDURE sp_boritek(IN pugyfel INT)
BEGIN
    SELECT ugyfel_nev, irsz, varos, cim, CAST(IFNULL(ui, '') AS CHAR(50) CHARACTER SET latin2) COLLATE latin2_hungarian_ci AS ui2
        FROM ugyfel
        WHERE ugyfel = pugyfel;
END $$

-- The documents lent out that the user may see (not deleted), oldest loan first,
-- with the document list's columns up to csoport_nev.
DROP PROCEDURE IF EXISTS sp_kiadott $$
CREATE PROCEDURE sp_kiadott(IN pfelhkod INT)
BEGIN
    SELECT iktato, iktato2, az1, az2, targy, ugyf_kitol, ugyf_hova, ugyf_intezkedesre, tarolo, dat_erk,
           dat_hatid, dat_megorzes, hivszam, torolve, dat_figy, figy_szoveg, nyomtatni, projekt, munkaszam,
           irany, tipus, filenev, csoport, felhkod, kolcsonadva, kolcsonadva_dat, kolcsonadva_kinek, statusz,
           kulcsszavak, megjegyzes, origfilenev, filenev2, origfilenev2, filenev3, origfilenev3, eredeti,
           egyebcsop, ugyf_kitol_nev, ugyf_kinek_nev, ugyf_intezkedesre_nev, projekt_nev, munkaszam_nev,
           tipus_nev, csoport_nev
        FROM vw_iktato
        WHERE fcs = pfelhkod AND kolcsonadva = 'I' AND torolve = 'N'
        ORDER BY kolcsonadva_dat, iktato;
END $$

-- Sets a document's status and journals it under the acting user: both commit
-- together, or neither does, in the caller's transaction when one is open (the
-- program's), else in one of the routine's own.
DROP PROCEDURE IF EXISTS sp_setstatusz $$
CREATE PROCEDURE sp_setstatusz(IN piktato INT, IN pfelhkod INT, IN pstatusz INT)
BEGIN
    DECLARE v_sajat BOOLEAN DEFAULT @@in_transaction = 0;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sajat THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    IF v_sajat THEN
        START TRANSACTION;
    END IF;
    IF EXISTS (SELECT 1 FROM iktato WHERE iktato = piktato) THEN
        UPDATE iktato SET statusz = pstatusz WHERE iktato = piktato;
        INSERT INTO iktnaplo (iktato, felhkod, szoveg)
            VALUES (piktato, pfelhkod,
                    CONCAT('statusz = ', IFNULL((SELECT statusz_nev FROM statusz WHERE statusz = pstatusz), ''),
                           ' (', IFNULL(pstatusz, ''), ')'));
    END IF;
    IF v_sajat THEN
        COMMIT;
    END IF;
END $$

-- Hands a stored file over to the online document store: one row per file, for
-- the client the document is assigned to.
DROP PROCEDURE IF EXISTS sp_svadd $$
CREATE PROCEDURE sp_svadd(IN piktato INT, IN pfilenev VARCHAR(128), IN pmime VARCHAR(100))
BEGIN
    INSERT INTO sv_file (iktato, ugyfel, filenev, mime)
        SELECT piktato, (SELECT ugyf_intezkedesre FROM iktato WHERE iktato = piktato), pfilenev, pmime;
END $$

DELIMITER ;
