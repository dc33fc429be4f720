-- Korvena iktatás: the trail of every change to documents and their attachments.
-- Written by scripts/trail-sql from schema.sql; do not edit by hand.
-- Triggers write one row per changed row, whoever changes it; each row carries the
-- SHA2-256 of the previous row's hash and its own content, so a removed, altered or
-- inserted row breaks the chain (korvena-admin verify).

CREATE TABLE iktato_nyom (
    sorszam BIGINT NOT NULL,
    tabla VARCHAR(16) NOT NULL,
    muvelet CHAR(1) NOT NULL,
    iktato INT NOT NULL,
    kulcs INT NOT NULL,
    ido DATETIME(6) NOT NULL,
    fiok VARCHAR(141) NOT NULL,
    felhkod INT NULL,
    valtozas MEDIUMTEXT NOT NULL,
    elozo CHAR(64) NOT NULL,
    hash CHAR(64) NOT NULL,
    PRIMARY KEY (sorszam),
    KEY ix_iktato_nyom_iktato (iktato, sorszam),
    -- verify replays one row's history after the other
    KEY ix_iktato_nyom_kulcs (tabla, kulcs, sorszam)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- The chain's head: the number of rows and the last hash. Every writer locks this one
-- row, so writers take their places one after the other; on a cluster two nodes
-- writing at once collide on it at certification and one of them starts again.
CREATE TABLE iktato_nyom_fej (
    azon TINYINT NOT NULL,
    darab BIGINT NOT NULL,
    hash CHAR(64) NOT NULL,
    PRIMARY KEY (azon)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

INSERT INTO iktato_nyom_fej (azon, darab, hash) VALUES (1, 0, REPEAT('0', 64));

DELIMITER $$

-- Appends one row to the chain. The hash expression is repeated by verify
-- (TrailVerifier): keep the two the same.
DROP PROCEDURE IF EXISTS sp_nyom_ir $$
CREATE PROCEDURE sp_nyom_ir(IN ptabla VARCHAR(16), IN pmuvelet CHAR(1), IN piktato INT, IN pkulcs INT,
                            IN pvaltozas MEDIUMTEXT CHARACTER SET latin2)
BEGIN
    DECLARE v_sorszam BIGINT;
    DECLARE v_elozo CHAR(64) CHARACTER SET latin2;
    DECLARE v_ido DATETIME(6) DEFAULT NOW(6);
    DECLARE v_fiok VARCHAR(141) CHARACTER SET latin2 DEFAULT LEFT(USER(), 141);
    -- Anything but a plain number counts as no user: a stray value must not stop the change.
    DECLARE v_felhkod INT DEFAULT
        CASE WHEN CAST(@korvena_felhkod AS CHAR) REGEXP '^-?[0-9]{1,9}$' THEN CAST(@korvena_felhkod AS SIGNED) END;
    DECLARE v_hash CHAR(64) CHARACTER SET latin2;
    SELECT darab + 1, hash INTO v_sorszam, v_elozo FROM iktato_nyom_fej WHERE azon = 1 FOR UPDATE;
    IF v_sorszam IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'iktato_nyom_fej has no head row';
    END IF;
    SET v_hash = SHA2(CONVERT(CONCAT_WS('|', v_elozo, v_sorszam, ptabla, pmuvelet, piktato, pkulcs,
                                        DATE_FORMAT(v_ido, '%Y-%m-%d %H:%i:%s.%f'), CHAR_LENGTH(v_fiok), v_fiok,
                                        IFNULL(v_felhkod, 'NULL'), pvaltozas) USING utf8mb4), 256);
    INSERT INTO iktato_nyom (sorszam, tabla, muvelet, iktato, kulcs, ido, fiok, felhkod, valtozas, elozo, hash)
        VALUES (v_sorszam, ptabla, pmuvelet, piktato, pkulcs, v_ido, v_fiok, v_felhkod, pvaltozas, v_elozo, v_hash);
    UPDATE iktato_nyom_fej SET darab = v_sorszam, hash = v_hash WHERE azon = 1;
END $$

DROP TRIGGER IF EXISTS tr_iktato_nyom_i $$
CREATE TRIGGER tr_iktato_nyom_i AFTER INSERT ON iktato FOR EACH ROW
BEGIN
    CALL sp_nyom_ir('iktato', 'I', NEW.iktato, NEW.iktato,
        CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato":[', 'null', ',', IFNULL(CAST(NEW.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"iktato2":[', 'null', ',', IFNULL(CAST(NEW.iktato2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"az1":[', 'null', ',', IFNULL(CAST(NEW.az1 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"az2":[', 'null', ',', IFNULL(CAST(NEW.az2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"targy":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.targy), 'null'), ']'),
            CONCAT('"ugyf_kitol":[', 'null', ',', IFNULL(CAST(NEW.ugyf_kitol AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"ugyf_hova":[', 'null', ',', IFNULL(CAST(NEW.ugyf_hova AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"ugyf_intezkedesre":[', 'null', ',', IFNULL(CAST(NEW.ugyf_intezkedesre AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"tarolo":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.tarolo), 'null'), ']'),
            CONCAT('"dat_erk":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_erk AS CHAR)), 'null'), ']'),
            CONCAT('"dat_hatid":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_hatid AS CHAR)), 'null'), ']'),
            CONCAT('"dat_megorzes":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_megorzes AS CHAR)), 'null'), ']'),
            CONCAT('"hivszam":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.hivszam), 'null'), ']'),
            CONCAT('"torolve":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.torolve), 'null'), ']'),
            CONCAT('"dat_figy":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_figy AS CHAR)), 'null'), ']'),
            CONCAT('"figy_szoveg":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.figy_szoveg), 'null'), ']'),
            CONCAT('"projekt":[', 'null', ',', IFNULL(CAST(NEW.projekt AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"munkaszam":[', 'null', ',', IFNULL(CAST(NEW.munkaszam AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"irany":[', 'null', ',', IFNULL(CAST(NEW.irany AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"tipus":[', 'null', ',', IFNULL(CAST(NEW.tipus AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"filenev":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.filenev), 'null'), ']'),
            CONCAT('"csoport":[', 'null', ',', IFNULL(CAST(NEW.csoport AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"felhkod":[', 'null', ',', IFNULL(CAST(NEW.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"kolcsonadva":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.kolcsonadva), 'null'), ']'),
            CONCAT('"kolcsonadva_dat":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.kolcsonadva_dat AS CHAR)), 'null'), ']'),
            CONCAT('"kolcsonadva_kinek":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.kolcsonadva_kinek), 'null'), ']'),
            CONCAT('"statusz":[', 'null', ',', IFNULL(CAST(NEW.statusz AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"kulcsszavak":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.kulcsszavak), 'null'), ']'),
            CONCAT('"megjegyzes":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.megjegyzes), 'null'), ']'),
            CONCAT('"origfilenev":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.origfilenev), 'null'), ']'),
            CONCAT('"filenev2":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.filenev2), 'null'), ']'),
            CONCAT('"origfilenev2":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.origfilenev2), 'null'), ']'),
            CONCAT('"filenev3":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.filenev3), 'null'), ']'),
            CONCAT('"origfilenev3":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.origfilenev3), 'null'), ']'),
            CONCAT('"eredeti":[', 'null', ',', IFNULL(CAST(NEW.eredeti AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"egyebcsop":[', 'null', ',', IFNULL(CAST(NEW.egyebcsop AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']')), '}'));
END $$

DROP TRIGGER IF EXISTS tr_iktato_nyom_d $$
CREATE TRIGGER tr_iktato_nyom_d AFTER DELETE ON iktato FOR EACH ROW
BEGIN
    CALL sp_nyom_ir('iktato', 'D', OLD.iktato, OLD.iktato,
        CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato":[', IFNULL(CAST(OLD.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"iktato2":[', IFNULL(CAST(OLD.iktato2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"az1":[', IFNULL(CAST(OLD.az1 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"az2":[', IFNULL(CAST(OLD.az2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"targy":[', IFNULL(JSON_QUOTE(OLD.targy), 'null'), ',', 'null', ']'),
            CONCAT('"ugyf_kitol":[', IFNULL(CAST(OLD.ugyf_kitol AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"ugyf_hova":[', IFNULL(CAST(OLD.ugyf_hova AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"ugyf_intezkedesre":[', IFNULL(CAST(OLD.ugyf_intezkedesre AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"tarolo":[', IFNULL(JSON_QUOTE(OLD.tarolo), 'null'), ',', 'null', ']'),
            CONCAT('"dat_erk":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_erk AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"dat_hatid":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_hatid AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"dat_megorzes":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_megorzes AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"hivszam":[', IFNULL(JSON_QUOTE(OLD.hivszam), 'null'), ',', 'null', ']'),
            CONCAT('"torolve":[', IFNULL(JSON_QUOTE(OLD.torolve), 'null'), ',', 'null', ']'),
            CONCAT('"dat_figy":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_figy AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"figy_szoveg":[', IFNULL(JSON_QUOTE(OLD.figy_szoveg), 'null'), ',', 'null', ']'),
            CONCAT('"projekt":[', IFNULL(CAST(OLD.projekt AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"munkaszam":[', IFNULL(CAST(OLD.munkaszam AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"irany":[', IFNULL(CAST(OLD.irany AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"tipus":[', IFNULL(CAST(OLD.tipus AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"filenev":[', IFNULL(JSON_QUOTE(OLD.filenev), 'null'), ',', 'null', ']'),
            CONCAT('"csoport":[', IFNULL(CAST(OLD.csoport AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"felhkod":[', IFNULL(CAST(OLD.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"kolcsonadva":[', IFNULL(JSON_QUOTE(OLD.kolcsonadva), 'null'), ',', 'null', ']'),
            CONCAT('"kolcsonadva_dat":[', IFNULL(JSON_QUOTE(CAST(OLD.kolcsonadva_dat AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"kolcsonadva_kinek":[', IFNULL(JSON_QUOTE(OLD.kolcsonadva_kinek), 'null'), ',', 'null', ']'),
            CONCAT('"statusz":[', IFNULL(CAST(OLD.statusz AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"kulcsszavak":[', IFNULL(JSON_QUOTE(OLD.kulcsszavak), 'null'), ',', 'null', ']'),
            CONCAT('"megjegyzes":[', IFNULL(JSON_QUOTE(OLD.megjegyzes), 'null'), ',', 'null', ']'),
            CONCAT('"origfilenev":[', IFNULL(JSON_QUOTE(OLD.origfilenev), 'null'), ',', 'null', ']'),
            CONCAT('"filenev2":[', IFNULL(JSON_QUOTE(OLD.filenev2), 'null'), ',', 'null', ']'),
            CONCAT('"origfilenev2":[', IFNULL(JSON_QUOTE(OLD.origfilenev2), 'null'), ',', 'null', ']'),
            CONCAT('"filenev3":[', IFNULL(JSON_QUOTE(OLD.filenev3), 'null'), ',', 'null', ']'),
            CONCAT('"origfilenev3":[', IFNULL(JSON_QUOTE(OLD.origfilenev3), 'null'), ',', 'null', ']'),
            CONCAT('"eredeti":[', IFNULL(CAST(OLD.eredeti AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"egyebcsop":[', IFNULL(CAST(OLD.egyebcsop AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']')), '}'));
END $$

DROP TRIGGER IF EXISTS tr_iktato_nyom_u $$
CREATE TRIGGER tr_iktato_nyom_u AFTER UPDATE ON iktato FOR EACH ROW
BEGIN
    DECLARE v_valtozas MEDIUMTEXT CHARACTER SET latin2;
    -- A new key starts another row's history: the old one ends, the new one begins.
    IF NOT (OLD.iktato <=> NEW.iktato) THEN
        CALL sp_nyom_ir('iktato', 'D', OLD.iktato, OLD.iktato,
            CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato":[', IFNULL(CAST(OLD.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"iktato2":[', IFNULL(CAST(OLD.iktato2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"az1":[', IFNULL(CAST(OLD.az1 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"az2":[', IFNULL(CAST(OLD.az2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"targy":[', IFNULL(JSON_QUOTE(OLD.targy), 'null'), ',', 'null', ']'),
            CONCAT('"ugyf_kitol":[', IFNULL(CAST(OLD.ugyf_kitol AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"ugyf_hova":[', IFNULL(CAST(OLD.ugyf_hova AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"ugyf_intezkedesre":[', IFNULL(CAST(OLD.ugyf_intezkedesre AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"tarolo":[', IFNULL(JSON_QUOTE(OLD.tarolo), 'null'), ',', 'null', ']'),
            CONCAT('"dat_erk":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_erk AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"dat_hatid":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_hatid AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"dat_megorzes":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_megorzes AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"hivszam":[', IFNULL(JSON_QUOTE(OLD.hivszam), 'null'), ',', 'null', ']'),
            CONCAT('"torolve":[', IFNULL(JSON_QUOTE(OLD.torolve), 'null'), ',', 'null', ']'),
            CONCAT('"dat_figy":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_figy AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"figy_szoveg":[', IFNULL(JSON_QUOTE(OLD.figy_szoveg), 'null'), ',', 'null', ']'),
            CONCAT('"projekt":[', IFNULL(CAST(OLD.projekt AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"munkaszam":[', IFNULL(CAST(OLD.munkaszam AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"irany":[', IFNULL(CAST(OLD.irany AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"tipus":[', IFNULL(CAST(OLD.tipus AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"filenev":[', IFNULL(JSON_QUOTE(OLD.filenev), 'null'), ',', 'null', ']'),
            CONCAT('"csoport":[', IFNULL(CAST(OLD.csoport AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"felhkod":[', IFNULL(CAST(OLD.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"kolcsonadva":[', IFNULL(JSON_QUOTE(OLD.kolcsonadva), 'null'), ',', 'null', ']'),
            CONCAT('"kolcsonadva_dat":[', IFNULL(JSON_QUOTE(CAST(OLD.kolcsonadva_dat AS CHAR)), 'null'), ',', 'null', ']'),
            CONCAT('"kolcsonadva_kinek":[', IFNULL(JSON_QUOTE(OLD.kolcsonadva_kinek), 'null'), ',', 'null', ']'),
            CONCAT('"statusz":[', IFNULL(CAST(OLD.statusz AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"kulcsszavak":[', IFNULL(JSON_QUOTE(OLD.kulcsszavak), 'null'), ',', 'null', ']'),
            CONCAT('"megjegyzes":[', IFNULL(JSON_QUOTE(OLD.megjegyzes), 'null'), ',', 'null', ']'),
            CONCAT('"origfilenev":[', IFNULL(JSON_QUOTE(OLD.origfilenev), 'null'), ',', 'null', ']'),
            CONCAT('"filenev2":[', IFNULL(JSON_QUOTE(OLD.filenev2), 'null'), ',', 'null', ']'),
            CONCAT('"origfilenev2":[', IFNULL(JSON_QUOTE(OLD.origfilenev2), 'null'), ',', 'null', ']'),
            CONCAT('"filenev3":[', IFNULL(JSON_QUOTE(OLD.filenev3), 'null'), ',', 'null', ']'),
            CONCAT('"origfilenev3":[', IFNULL(JSON_QUOTE(OLD.origfilenev3), 'null'), ',', 'null', ']'),
            CONCAT('"eredeti":[', IFNULL(CAST(OLD.eredeti AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"egyebcsop":[', IFNULL(CAST(OLD.egyebcsop AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']')), '}'));
        CALL sp_nyom_ir('iktato', 'I', NEW.iktato, NEW.iktato,
            CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato":[', 'null', ',', IFNULL(CAST(NEW.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"iktato2":[', 'null', ',', IFNULL(CAST(NEW.iktato2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"az1":[', 'null', ',', IFNULL(CAST(NEW.az1 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"az2":[', 'null', ',', IFNULL(CAST(NEW.az2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"targy":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.targy), 'null'), ']'),
            CONCAT('"ugyf_kitol":[', 'null', ',', IFNULL(CAST(NEW.ugyf_kitol AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"ugyf_hova":[', 'null', ',', IFNULL(CAST(NEW.ugyf_hova AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"ugyf_intezkedesre":[', 'null', ',', IFNULL(CAST(NEW.ugyf_intezkedesre AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"tarolo":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.tarolo), 'null'), ']'),
            CONCAT('"dat_erk":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_erk AS CHAR)), 'null'), ']'),
            CONCAT('"dat_hatid":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_hatid AS CHAR)), 'null'), ']'),
            CONCAT('"dat_megorzes":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_megorzes AS CHAR)), 'null'), ']'),
            CONCAT('"hivszam":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.hivszam), 'null'), ']'),
            CONCAT('"torolve":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.torolve), 'null'), ']'),
            CONCAT('"dat_figy":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_figy AS CHAR)), 'null'), ']'),
            CONCAT('"figy_szoveg":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.figy_szoveg), 'null'), ']'),
            CONCAT('"projekt":[', 'null', ',', IFNULL(CAST(NEW.projekt AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"munkaszam":[', 'null', ',', IFNULL(CAST(NEW.munkaszam AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"irany":[', 'null', ',', IFNULL(CAST(NEW.irany AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"tipus":[', 'null', ',', IFNULL(CAST(NEW.tipus AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"filenev":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.filenev), 'null'), ']'),
            CONCAT('"csoport":[', 'null', ',', IFNULL(CAST(NEW.csoport AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"felhkod":[', 'null', ',', IFNULL(CAST(NEW.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"kolcsonadva":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.kolcsonadva), 'null'), ']'),
            CONCAT('"kolcsonadva_dat":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.kolcsonadva_dat AS CHAR)), 'null'), ']'),
            CONCAT('"kolcsonadva_kinek":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.kolcsonadva_kinek), 'null'), ']'),
            CONCAT('"statusz":[', 'null', ',', IFNULL(CAST(NEW.statusz AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"kulcsszavak":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.kulcsszavak), 'null'), ']'),
            CONCAT('"megjegyzes":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.megjegyzes), 'null'), ']'),
            CONCAT('"origfilenev":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.origfilenev), 'null'), ']'),
            CONCAT('"filenev2":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.filenev2), 'null'), ']'),
            CONCAT('"origfilenev2":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.origfilenev2), 'null'), ']'),
            CONCAT('"filenev3":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.filenev3), 'null'), ']'),
            CONCAT('"origfilenev3":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.origfilenev3), 'null'), ']'),
            CONCAT('"eredeti":[', 'null', ',', IFNULL(CAST(NEW.eredeti AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"egyebcsop":[', 'null', ',', IFNULL(CAST(NEW.egyebcsop AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']')), '}'));
    ELSEIF NOT ((OLD.iktato2, OLD.az1, OLD.az2, BINARY OLD.targy, OLD.ugyf_kitol, OLD.ugyf_hova, OLD.ugyf_intezkedesre, BINARY OLD.tarolo, OLD.dat_erk, OLD.dat_hatid, OLD.dat_megorzes, BINARY OLD.hivszam, BINARY OLD.torolve, OLD.dat_figy, BINARY OLD.figy_szoveg, OLD.projekt, OLD.munkaszam, OLD.irany, OLD.tipus, BINARY OLD.filenev, OLD.csoport, OLD.felhkod, BINARY OLD.kolcsonadva, OLD.kolcsonadva_dat, BINARY OLD.kolcsonadva_kinek, OLD.statusz, BINARY OLD.kulcsszavak, BINARY OLD.megjegyzes, BINARY OLD.origfilenev, BINARY OLD.filenev2, BINARY OLD.origfilenev2, BINARY OLD.filenev3, BINARY OLD.origfilenev3, OLD.eredeti, OLD.egyebcsop)
            <=> (NEW.iktato2, NEW.az1, NEW.az2, BINARY NEW.targy, NEW.ugyf_kitol, NEW.ugyf_hova, NEW.ugyf_intezkedesre, BINARY NEW.tarolo, NEW.dat_erk, NEW.dat_hatid, NEW.dat_megorzes, BINARY NEW.hivszam, BINARY NEW.torolve, NEW.dat_figy, BINARY NEW.figy_szoveg, NEW.projekt, NEW.munkaszam, NEW.irany, NEW.tipus, BINARY NEW.filenev, NEW.csoport, NEW.felhkod, BINARY NEW.kolcsonadva, NEW.kolcsonadva_dat, BINARY NEW.kolcsonadva_kinek, NEW.statusz, BINARY NEW.kulcsszavak, BINARY NEW.megjegyzes, BINARY NEW.origfilenev, BINARY NEW.filenev2, BINARY NEW.origfilenev2, BINARY NEW.filenev3, BINARY NEW.origfilenev3, NEW.eredeti, NEW.egyebcsop)) THEN
        SET v_valtozas = CONCAT_WS(',',
            IF(NOT (OLD.iktato2 <=> NEW.iktato2), CONCAT('"iktato2":[', IFNULL(CAST(OLD.iktato2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.iktato2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.az1 <=> NEW.az1), CONCAT('"az1":[', IFNULL(CAST(OLD.az1 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.az1 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.az2 <=> NEW.az2), CONCAT('"az2":[', IFNULL(CAST(OLD.az2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.az2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.targy <=> BINARY NEW.targy), CONCAT('"targy":[', IFNULL(JSON_QUOTE(OLD.targy), 'null'), ',', IFNULL(JSON_QUOTE(NEW.targy), 'null'), ']'), NULL),
            IF(NOT (OLD.ugyf_kitol <=> NEW.ugyf_kitol), CONCAT('"ugyf_kitol":[', IFNULL(CAST(OLD.ugyf_kitol AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.ugyf_kitol AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.ugyf_hova <=> NEW.ugyf_hova), CONCAT('"ugyf_hova":[', IFNULL(CAST(OLD.ugyf_hova AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.ugyf_hova AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.ugyf_intezkedesre <=> NEW.ugyf_intezkedesre), CONCAT('"ugyf_intezkedesre":[', IFNULL(CAST(OLD.ugyf_intezkedesre AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.ugyf_intezkedesre AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.tarolo <=> BINARY NEW.tarolo), CONCAT('"tarolo":[', IFNULL(JSON_QUOTE(OLD.tarolo), 'null'), ',', IFNULL(JSON_QUOTE(NEW.tarolo), 'null'), ']'), NULL),
            IF(NOT (OLD.dat_erk <=> NEW.dat_erk), CONCAT('"dat_erk":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_erk AS CHAR)), 'null'), ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_erk AS CHAR)), 'null'), ']'), NULL),
            IF(NOT (OLD.dat_hatid <=> NEW.dat_hatid), CONCAT('"dat_hatid":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_hatid AS CHAR)), 'null'), ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_hatid AS CHAR)), 'null'), ']'), NULL),
            IF(NOT (OLD.dat_megorzes <=> NEW.dat_megorzes), CONCAT('"dat_megorzes":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_megorzes AS CHAR)), 'null'), ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_megorzes AS CHAR)), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.hivszam <=> BINARY NEW.hivszam), CONCAT('"hivszam":[', IFNULL(JSON_QUOTE(OLD.hivszam), 'null'), ',', IFNULL(JSON_QUOTE(NEW.hivszam), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.torolve <=> BINARY NEW.torolve), CONCAT('"torolve":[', IFNULL(JSON_QUOTE(OLD.torolve), 'null'), ',', IFNULL(JSON_QUOTE(NEW.torolve), 'null'), ']'), NULL),
            IF(NOT (OLD.dat_figy <=> NEW.dat_figy), CONCAT('"dat_figy":[', IFNULL(JSON_QUOTE(CAST(OLD.dat_figy AS CHAR)), 'null'), ',', IFNULL(JSON_QUOTE(CAST(NEW.dat_figy AS CHAR)), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.figy_szoveg <=> BINARY NEW.figy_szoveg), CONCAT('"figy_szoveg":[', IFNULL(JSON_QUOTE(OLD.figy_szoveg), 'null'), ',', IFNULL(JSON_QUOTE(NEW.figy_szoveg), 'null'), ']'), NULL),
            IF(NOT (OLD.projekt <=> NEW.projekt), CONCAT('"projekt":[', IFNULL(CAST(OLD.projekt AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.projekt AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.munkaszam <=> NEW.munkaszam), CONCAT('"munkaszam":[', IFNULL(CAST(OLD.munkaszam AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.munkaszam AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.irany <=> NEW.irany), CONCAT('"irany":[', IFNULL(CAST(OLD.irany AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.irany AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.tipus <=> NEW.tipus), CONCAT('"tipus":[', IFNULL(CAST(OLD.tipus AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.tipus AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.filenev <=> BINARY NEW.filenev), CONCAT('"filenev":[', IFNULL(JSON_QUOTE(OLD.filenev), 'null'), ',', IFNULL(JSON_QUOTE(NEW.filenev), 'null'), ']'), NULL),
            IF(NOT (OLD.csoport <=> NEW.csoport), CONCAT('"csoport":[', IFNULL(CAST(OLD.csoport AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.csoport AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.felhkod <=> NEW.felhkod), CONCAT('"felhkod":[', IFNULL(CAST(OLD.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.kolcsonadva <=> BINARY NEW.kolcsonadva), CONCAT('"kolcsonadva":[', IFNULL(JSON_QUOTE(OLD.kolcsonadva), 'null'), ',', IFNULL(JSON_QUOTE(NEW.kolcsonadva), 'null'), ']'), NULL),
            IF(NOT (OLD.kolcsonadva_dat <=> NEW.kolcsonadva_dat), CONCAT('"kolcsonadva_dat":[', IFNULL(JSON_QUOTE(CAST(OLD.kolcsonadva_dat AS CHAR)), 'null'), ',', IFNULL(JSON_QUOTE(CAST(NEW.kolcsonadva_dat AS CHAR)), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.kolcsonadva_kinek <=> BINARY NEW.kolcsonadva_kinek), CONCAT('"kolcsonadva_kinek":[', IFNULL(JSON_QUOTE(OLD.kolcsonadva_kinek), 'null'), ',', IFNULL(JSON_QUOTE(NEW.kolcsonadva_kinek), 'null'), ']'), NULL),
            IF(NOT (OLD.statusz <=> NEW.statusz), CONCAT('"statusz":[', IFNULL(CAST(OLD.statusz AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.statusz AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.kulcsszavak <=> BINARY NEW.kulcsszavak), CONCAT('"kulcsszavak":[', IFNULL(JSON_QUOTE(OLD.kulcsszavak), 'null'), ',', IFNULL(JSON_QUOTE(NEW.kulcsszavak), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.megjegyzes <=> BINARY NEW.megjegyzes), CONCAT('"megjegyzes":[', IFNULL(JSON_QUOTE(OLD.megjegyzes), 'null'), ',', IFNULL(JSON_QUOTE(NEW.megjegyzes), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.origfilenev <=> BINARY NEW.origfilenev), CONCAT('"origfilenev":[', IFNULL(JSON_QUOTE(OLD.origfilenev), 'null'), ',', IFNULL(JSON_QUOTE(NEW.origfilenev), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.filenev2 <=> BINARY NEW.filenev2), CONCAT('"filenev2":[', IFNULL(JSON_QUOTE(OLD.filenev2), 'null'), ',', IFNULL(JSON_QUOTE(NEW.filenev2), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.origfilenev2 <=> BINARY NEW.origfilenev2), CONCAT('"origfilenev2":[', IFNULL(JSON_QUOTE(OLD.origfilenev2), 'null'), ',', IFNULL(JSON_QUOTE(NEW.origfilenev2), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.filenev3 <=> BINARY NEW.filenev3), CONCAT('"filenev3":[', IFNULL(JSON_QUOTE(OLD.filenev3), 'null'), ',', IFNULL(JSON_QUOTE(NEW.filenev3), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.origfilenev3 <=> BINARY NEW.origfilenev3), CONCAT('"origfilenev3":[', IFNULL(JSON_QUOTE(OLD.origfilenev3), 'null'), ',', IFNULL(JSON_QUOTE(NEW.origfilenev3), 'null'), ']'), NULL),
            IF(NOT (OLD.eredeti <=> NEW.eredeti), CONCAT('"eredeti":[', IFNULL(CAST(OLD.eredeti AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.eredeti AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.egyebcsop <=> NEW.egyebcsop), CONCAT('"egyebcsop":[', IFNULL(CAST(OLD.egyebcsop AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.egyebcsop AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL));
        IF v_valtozas <> '' THEN
            CALL sp_nyom_ir('iktato', 'U', NEW.iktato, NEW.iktato, CONCAT('{', v_valtozas, '}'));
        END IF;
    END IF;
END $$

DROP TRIGGER IF EXISTS tr_iktato_file_nyom_i $$
CREATE TRIGGER tr_iktato_file_nyom_i AFTER INSERT ON iktato_file FOR EACH ROW
BEGIN
    CALL sp_nyom_ir('iktato_file', 'I', NEW.iktato, NEW.iktato_file,
        CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato_file":[', 'null', ',', IFNULL(CAST(NEW.iktato_file AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"iktato":[', 'null', ',', IFNULL(CAST(NEW.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"filenev":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.filenev), 'null'), ']'),
            CONCAT('"origfilenev":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.origfilenev), 'null'), ']'),
            CONCAT('"felhkod":[', 'null', ',', IFNULL(CAST(NEW.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"rogzitve":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.rogzitve AS CHAR)), 'null'), ']')), '}'));
END $$

DROP TRIGGER IF EXISTS tr_iktato_file_nyom_d $$
CREATE TRIGGER tr_iktato_file_nyom_d AFTER DELETE ON iktato_file FOR EACH ROW
BEGIN
    CALL sp_nyom_ir('iktato_file', 'D', OLD.iktato, OLD.iktato_file,
        CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato_file":[', IFNULL(CAST(OLD.iktato_file AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"iktato":[', IFNULL(CAST(OLD.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"filenev":[', IFNULL(JSON_QUOTE(OLD.filenev), 'null'), ',', 'null', ']'),
            CONCAT('"origfilenev":[', IFNULL(JSON_QUOTE(OLD.origfilenev), 'null'), ',', 'null', ']'),
            CONCAT('"felhkod":[', IFNULL(CAST(OLD.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"rogzitve":[', IFNULL(JSON_QUOTE(CAST(OLD.rogzitve AS CHAR)), 'null'), ',', 'null', ']')), '}'));
END $$

DROP TRIGGER IF EXISTS tr_iktato_file_nyom_u $$
CREATE TRIGGER tr_iktato_file_nyom_u AFTER UPDATE ON iktato_file FOR EACH ROW
BEGIN
    DECLARE v_valtozas MEDIUMTEXT CHARACTER SET latin2;
    -- A new key starts another row's history: the old one ends, the new one begins.
    IF NOT (OLD.iktato_file <=> NEW.iktato_file) THEN
        CALL sp_nyom_ir('iktato_file', 'D', OLD.iktato, OLD.iktato_file,
            CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato_file":[', IFNULL(CAST(OLD.iktato_file AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"iktato":[', IFNULL(CAST(OLD.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"filenev":[', IFNULL(JSON_QUOTE(OLD.filenev), 'null'), ',', 'null', ']'),
            CONCAT('"origfilenev":[', IFNULL(JSON_QUOTE(OLD.origfilenev), 'null'), ',', 'null', ']'),
            CONCAT('"felhkod":[', IFNULL(CAST(OLD.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', 'null', ']'),
            CONCAT('"rogzitve":[', IFNULL(JSON_QUOTE(CAST(OLD.rogzitve AS CHAR)), 'null'), ',', 'null', ']')), '}'));
        CALL sp_nyom_ir('iktato_file', 'I', NEW.iktato, NEW.iktato_file,
            CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato_file":[', 'null', ',', IFNULL(CAST(NEW.iktato_file AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"iktato":[', 'null', ',', IFNULL(CAST(NEW.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"filenev":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.filenev), 'null'), ']'),
            CONCAT('"origfilenev":[', 'null', ',', IFNULL(JSON_QUOTE(NEW.origfilenev), 'null'), ']'),
            CONCAT('"felhkod":[', 'null', ',', IFNULL(CAST(NEW.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"rogzitve":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(NEW.rogzitve AS CHAR)), 'null'), ']')), '}'));
    ELSEIF NOT ((OLD.iktato, BINARY OLD.filenev, BINARY OLD.origfilenev, OLD.felhkod, OLD.rogzitve)
            <=> (NEW.iktato, BINARY NEW.filenev, BINARY NEW.origfilenev, NEW.felhkod, NEW.rogzitve)) THEN
        SET v_valtozas = CONCAT_WS(',',
            IF(NOT (OLD.iktato <=> NEW.iktato), CONCAT('"iktato":[', IFNULL(CAST(OLD.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.filenev <=> BINARY NEW.filenev), CONCAT('"filenev":[', IFNULL(JSON_QUOTE(OLD.filenev), 'null'), ',', IFNULL(JSON_QUOTE(NEW.filenev), 'null'), ']'), NULL),
            IF(NOT (BINARY OLD.origfilenev <=> BINARY NEW.origfilenev), CONCAT('"origfilenev":[', IFNULL(JSON_QUOTE(OLD.origfilenev), 'null'), ',', IFNULL(JSON_QUOTE(NEW.origfilenev), 'null'), ']'), NULL),
            IF(NOT (OLD.felhkod <=> NEW.felhkod), CONCAT('"felhkod":[', IFNULL(CAST(OLD.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ',', IFNULL(CAST(NEW.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'), NULL),
            IF(NOT (OLD.rogzitve <=> NEW.rogzitve), CONCAT('"rogzitve":[', IFNULL(JSON_QUOTE(CAST(OLD.rogzitve AS CHAR)), 'null'), ',', IFNULL(JSON_QUOTE(CAST(NEW.rogzitve AS CHAR)), 'null'), ']'), NULL));
        IF v_valtozas <> '' THEN
            CALL sp_nyom_ir('iktato_file', 'U', NEW.iktato, NEW.iktato_file, CONCAT('{', v_valtozas, '}'));
        END IF;
    END IF;
END $$

-- Starts the chain on a register that already holds documents: one 'A' row per
-- document and per attachment with all its values. Refuses a trail that has rows.
DROP PROCEDURE IF EXISTS sp_nyom_kezdet $$
CREATE PROCEDURE sp_nyom_kezdet()
BEGIN
    DECLARE v_kesz INT DEFAULT 0;
    DECLARE v_iktato INT;
    DECLARE v_kulcs INT;
    DECLARE v_valtozas MEDIUMTEXT CHARACTER SET latin2;
    DECLARE c_iktato CURSOR FOR SELECT iktato, iktato,
        CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato":[', 'null', ',', IFNULL(CAST(iktato.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"iktato2":[', 'null', ',', IFNULL(CAST(iktato.iktato2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"az1":[', 'null', ',', IFNULL(CAST(iktato.az1 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"az2":[', 'null', ',', IFNULL(CAST(iktato.az2 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"targy":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.targy), 'null'), ']'),
            CONCAT('"ugyf_kitol":[', 'null', ',', IFNULL(CAST(iktato.ugyf_kitol AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"ugyf_hova":[', 'null', ',', IFNULL(CAST(iktato.ugyf_hova AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"ugyf_intezkedesre":[', 'null', ',', IFNULL(CAST(iktato.ugyf_intezkedesre AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"tarolo":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.tarolo), 'null'), ']'),
            CONCAT('"dat_erk":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(iktato.dat_erk AS CHAR)), 'null'), ']'),
            CONCAT('"dat_hatid":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(iktato.dat_hatid AS CHAR)), 'null'), ']'),
            CONCAT('"dat_megorzes":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(iktato.dat_megorzes AS CHAR)), 'null'), ']'),
            CONCAT('"hivszam":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.hivszam), 'null'), ']'),
            CONCAT('"torolve":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.torolve), 'null'), ']'),
            CONCAT('"dat_figy":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(iktato.dat_figy AS CHAR)), 'null'), ']'),
            CONCAT('"figy_szoveg":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.figy_szoveg), 'null'), ']'),
            CONCAT('"projekt":[', 'null', ',', IFNULL(CAST(iktato.projekt AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"munkaszam":[', 'null', ',', IFNULL(CAST(iktato.munkaszam AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"irany":[', 'null', ',', IFNULL(CAST(iktato.irany AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"tipus":[', 'null', ',', IFNULL(CAST(iktato.tipus AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"filenev":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.filenev), 'null'), ']'),
            CONCAT('"csoport":[', 'null', ',', IFNULL(CAST(iktato.csoport AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"felhkod":[', 'null', ',', IFNULL(CAST(iktato.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"kolcsonadva":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.kolcsonadva), 'null'), ']'),
            CONCAT('"kolcsonadva_dat":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(iktato.kolcsonadva_dat AS CHAR)), 'null'), ']'),
            CONCAT('"kolcsonadva_kinek":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.kolcsonadva_kinek), 'null'), ']'),
            CONCAT('"statusz":[', 'null', ',', IFNULL(CAST(iktato.statusz AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"kulcsszavak":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.kulcsszavak), 'null'), ']'),
            CONCAT('"megjegyzes":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.megjegyzes), 'null'), ']'),
            CONCAT('"origfilenev":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.origfilenev), 'null'), ']'),
            CONCAT('"filenev2":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.filenev2), 'null'), ']'),
            CONCAT('"origfilenev2":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.origfilenev2), 'null'), ']'),
            CONCAT('"filenev3":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.filenev3), 'null'), ']'),
            CONCAT('"origfilenev3":[', 'null', ',', IFNULL(JSON_QUOTE(iktato.origfilenev3), 'null'), ']'),
            CONCAT('"eredeti":[', 'null', ',', IFNULL(CAST(iktato.eredeti AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"egyebcsop":[', 'null', ',', IFNULL(CAST(iktato.egyebcsop AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']')), '}')
        FROM iktato ORDER BY iktato;
    DECLARE c_file CURSOR FOR SELECT iktato, iktato_file,
        CONCAT('{', CONCAT_WS(',',
            CONCAT('"iktato_file":[', 'null', ',', IFNULL(CAST(iktato_file.iktato_file AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"iktato":[', 'null', ',', IFNULL(CAST(iktato_file.iktato AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"filenev":[', 'null', ',', IFNULL(JSON_QUOTE(iktato_file.filenev), 'null'), ']'),
            CONCAT('"origfilenev":[', 'null', ',', IFNULL(JSON_QUOTE(iktato_file.origfilenev), 'null'), ']'),
            CONCAT('"felhkod":[', 'null', ',', IFNULL(CAST(iktato_file.felhkod AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null'), ']'),
            CONCAT('"rogzitve":[', 'null', ',', IFNULL(JSON_QUOTE(CAST(iktato_file.rogzitve AS CHAR)), 'null'), ']')), '}')
        FROM iktato_file ORDER BY iktato_file;
    DECLARE CONTINUE HANDLER FOR NOT FOUND SET v_kesz = 1;
    IF (SELECT darab FROM iktato_nyom_fej WHERE azon = 1 FOR UPDATE) <> 0 OR EXISTS (SELECT 1 FROM iktato_nyom) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'iktato_nyom is not empty';
    END IF;
    OPEN c_iktato;
    sor: LOOP
        FETCH c_iktato INTO v_iktato, v_kulcs, v_valtozas;
        IF v_kesz THEN LEAVE sor; END IF;
        CALL sp_nyom_ir('iktato', 'A', v_iktato, v_kulcs, v_valtozas);
    END LOOP;
    CLOSE c_iktato;
    SET v_kesz = 0;
    OPEN c_file;
    fsor: LOOP
        FETCH c_file INTO v_iktato, v_kulcs, v_valtozas;
        IF v_kesz THEN LEAVE fsor; END IF;
        CALL sp_nyom_ir('iktato_file', 'A', v_iktato, v_kulcs, v_valtozas);
    END LOOP;
    CLOSE c_file;
END $$

DELIMITER ;
