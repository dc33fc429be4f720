CREATE TABLE t (a int); -- x
INSERT INTO t VALUES (1, 'a;b', "c\"d", `e``f`);
DELIMITER //
CREATE PROCEDURE p() BEGIN SELECT 1; END //
DELIMITER ;
/*!40101 SET NAMES latin2 */;
# vége
/* nyitva