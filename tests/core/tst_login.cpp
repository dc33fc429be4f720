#include "TestDatabase.h"
#include "db/DbHelpers.h"
#include "core/Login.h"
#include "core/Rights.h"

#include <QtTest>

class TestLogin : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        // Written by hand, so the test does not lean on the literal routine it checks.
        ExecSql(QStringLiteral(
            "INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, rendszergazda, torzsszerkeszt, "
            "canins, canedit, candel, jelszomd5, torolve) VALUES "
            "(2, 'O''Brien\\\\x', 'Brien Ödön', 'N', 'I', 'I', 'i', NULL, MD5('pa''ss\\\\wd\"'), 'N'), "
            "(3, 'torolt', 'Törölt', 'I', 'I', 'I', 'I', 'I', MD5('jelszo'), 'I'), "
            "(4, 'nullos', 'Nullos', 'I', 'I', 'I', 'I', 'I', MD5('jelszo'), NULL)"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void credentials_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("code");
        QTest::newRow("quote and backslash")
            << QStringLiteral("O'Brien\\x") << QStringLiteral("pa'ss\\wd\"") << 2;
        QTest::newRow("built-in administrator") << "rendszergazda"
                                                << "pirkalo" << 1;
        QTest::newRow("name compared in the server's collation") << "RENDSZERGAZDA"
                                                                 << "pirkalo" << 1;
        QTest::newRow("password letter case counts") << "rendszergazda"
                                                     << "PIRKALO" << 0;
        QTest::newRow("wrong password") << QStringLiteral("O'Brien\\x") << QStringLiteral("pa'sswd\"") << 0;
        QTest::newRow("unknown user") << "senki"
                                      << "pirkalo" << 0;
        QTest::newRow("deleted user") << "torolt"
                                      << "jelszo" << 0;
        QTest::newRow("deleted flag NULL") << "nullos"
                                           << "jelszo" << 0;
        QTest::newRow("injection attempt") << "x') OR ('1'='1"
                                           << "x') OR ('1'='1" << 0;
    }
    void credentials()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(int, code);
        const std::optional<SessionUser> user = checkCredentials(login, password);
        QCOMPARE(user.has_value(), code != 0);
        if (user)
            QCOMPARE(user->code, code);
    }

    void sessionUserTakesRightsOnlyFromExactI()
    {
        const std::optional<SessionUser> user =
            checkCredentials(QStringLiteral("O'Brien\\x"), QStringLiteral("pa'ss\\wd\""));
        QVERIFY(user);
        QCOMPARE(user->login, QStringLiteral("O'Brien\\x"));
        QCOMPARE(user->fullName, QStringLiteral("Brien Ödön"));
        QVERIFY(!hasRight(*user, Right::Administrator));
        QVERIFY(hasRight(*user, Right::MasterDataEditing));
        QVERIFY(hasRight(*user, Right::Insert));
        QVERIFY(!hasRight(*user, Right::Edit));   // 'i'
        QVERIFY(!hasRight(*user, Right::Delete)); // NULL
    }

    void twoMatchingRowsRefuseBoth()
    {
        // The register refuses duplicate names; an older one may still hold them.
        ExecSql(QStringLiteral("ALTER TABLE felhasznalo DROP INDEX ux_felhasznalo"));
        ExecSql(QStringLiteral("INSERT INTO felhasznalo (felhkod, felhasznalo, jelszomd5, torolve) VALUES "
                               "(10, 'iker', MD5('egy'), 'N'), (11, 'iker', MD5('egy'), 'N')"));
        QVERIFY(!checkCredentials(QStringLiteral("iker"), QStringLiteral("egy")));

        ExecSql(QStringLiteral("UPDATE felhasznalo SET torolve = 'I' WHERE felhkod = 11"));
        const std::optional<SessionUser> user =
            checkCredentials(QStringLiteral("iker"), QStringLiteral("egy"));
        QVERIFY(user);
        QCOMPARE(user->code, 10);
    }

    void changedPasswordReplacesTheOld()
    {
        ExecSql(QStringLiteral("INSERT INTO felhasznalo (felhkod, felhasznalo, jelszomd5, torolve) VALUES "
                               "(20, 'valto', MD5('regi'), 'N')"));
        changePassword(QStringLiteral("valto"), QStringLiteral("új'jel\\szó"));
        QVERIFY(!checkCredentials(QStringLiteral("valto"), QStringLiteral("regi")));
        QVERIFY(checkCredentials(QStringLiteral("valto"), QStringLiteral("új'jel\\szó")));
        QVERIFY(checkCredentials(QStringLiteral("rendszergazda"), QStringLiteral("pirkalo")));
    }
};

QTEST_GUILESS_MAIN(TestLogin)
#include "tst_login.moc"
