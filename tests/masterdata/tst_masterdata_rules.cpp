#include "masterdata/MasterData.h"

#include <QtTest>

class TestMasterDataRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pickerColumns_data();
    void pickerColumns();
    void firstLetter_data();
    void firstLetter();
    void nameLetters_data();
    void nameLetters();
    void statusNumber_data();
    void statusNumber();
    void mainNumber_data();
    void mainNumber();
    void callers_data();
    void callers();
    void statements();
};

void TestMasterDataRules::pickerColumns_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("group picker") << "csoport_nev,Csoport,100" << QStringList{"csoport_nev"}
                                  << QList<int>{100};
    QTest::newRow("two") << "a,A,30;b,B,70" << QStringList{"a", "b"} << QList<int>{30, 70};
    QTest::newRow("zero, negative and text widths skipped")
        << "a,A,0;b,B,-5;c,C,x;d,D,12.5;e,E,40" << QStringList{"e"} << QList<int>{40};
    QTest::newRow("missing width skipped") << "a,A;b,B,10" << QStringList{"b"} << QList<int>{10};
    QTest::newRow("empty") << "" << QStringList{} << QList<int>{};
    QString many;
    for (int i = 1; i <= 22; ++i)
        many += QStringLiteral("f%1,T,1;").arg(i);
    QStringList twenty;
    for (int i = 1; i <= 20; ++i)
        twenty << QStringLiteral("f%1").arg(i);
    QTest::newRow("at most twenty") << many << twenty << QList<int>(20, 1);
}

void TestMasterDataRules::pickerColumns()
{
    QFETCH(QString, list);
    QFETCH(QStringList, fields);
    QFETCH(QList<int>, widths);
    const QList<PickerColumn> columns = parsePickerColumns(list);
    QStringList gotFields;
    QList<int> gotWidths;
    for (const PickerColumn &c : columns) {
        gotFields << c.field;
        gotWidths << c.percent;
    }
    QCOMPARE(gotFields, fields);
    QCOMPARE(gotWidths, widths);
    if (!columns.isEmpty() && list.startsWith(QLatin1String("csoport")))
        QCOMPARE(columns.first().title, QStringLiteral("Csoport"));
}

void TestMasterDataRules::firstLetter_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("asciiOnly");
    QTest::addColumn<QString>("put");
    QTest::newRow("empty field") << ""
                                 << "k" << true << "K";
    QTest::newRow("not empty") << "K"
                               << "k" << true << "k";
    QTest::newRow("national letter, a-z only") << ""
                                               << "á" << true << "á";
    QTest::newRow("national letter") << ""
                                     << "ő" << false << "Ő";
    QTest::newRow("digit") << ""
                           << "5" << false << "5";
}

void TestMasterDataRules::firstLetter()
{
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(bool, asciiOnly);
    QFETCH(QString, put);
    QCOMPARE(QString(firstLetterCase(before, typed.at(0), asciiOnly)), put);
}

void TestMasterDataRules::nameLetters_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("put");
    QTest::newRow("empty") << "" << 0 << "é"
                           << "É";
    QTest::newRow("after a space") << "Kovács " << 7 << "ű"
                                   << "Ű";
    QTest::newRow("inside a word") << "Kovács" << 6 << "n"
                                   << "n";
    QTest::newRow("after a space in the middle") << "Kiss Anna" << 5 << "b"
                                                 << "B";
    QTest::newRow("start of a filled field") << "anna" << 0 << "b"
                                             << "b";
}

void TestMasterDataRules::nameLetters()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, typed);
    QFETCH(QString, put);
    QCOMPARE(QString(nameLetterCase(before, cursor, typed.at(0))), put);
}

void TestMasterDataRules::statusNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("0") << "0" << true;
    QTest::newRow("9") << "9" << true;
    QTest::newRow("10") << "10" << false;
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("empty") << "" << true;
}

void TestMasterDataRules::statusNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(Statuses::isValidNumber(text), valid);
}

void TestMasterDataRules::mainNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("number") << "12" << true;
    QTest::newRow("blanks around") << " 7 " << true;
    QTest::newRow("negative") << "-5" << true;
    QTest::newRow("minus alone") << "-" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("minus inside") << "1-2" << false;
}

void TestMasterDataRules::mainNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(MainNumbers::isValidNumber(text), valid);
}

void TestMasterDataRules::callers_data()
{
    using C = MasterTable::Caller;
    QTest::addColumn<int>("caller");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("caption"); // with the renamable labels set to L1, L2, L3
    QTest::addColumn<bool>("pick");
    QTest::addColumn<bool>("softDelete");
    QTest::addColumn<bool>("readOnly");
    QSet<int> covered;
    auto row = [&covered](const char *name, C c, const char *table, const char *caption, bool pick, bool soft,
                          bool ro) {
        covered << int(c);
        QTest::newRow(name) << int(c) << QString::fromUtf8(table) << QString::fromUtf8(caption) << pick
                            << soft << ro;
    };
    row("aProjekt", C::ProjectAdmin, "projekt", "L2", false, false, false);
    row("aMunkaszam", C::WorkNumberAdmin, "munkaszam", "L1", false, false, false);
    row("aTipus", C::TypeAdmin, "tipus", "L3", false, true, false);
    row("aCsoport", C::GroupAdmin, "csoport", "Csoport", false, true, false);
    row("aSzur7 type filter", C::TypeFilter, "tipus", "Típus", true, false, true);
    row("aSzur12 other-grouping filter", C::OtherGroupFilter, "egyebcsop", "Egyéb csoportosítás", true, false,
        true);
    row("aSzurProjekt", C::ProjectMarking, "projekt", "Projekt", true, false, false);
    row("aSzurMunkaszam", C::WorkNumberMarking, "munkaszam", "Munkaszám", true, false, false);
    row("editor project", C::EditorProject, "projekt", "L2", true, false, false);
    row("editor work number", C::EditorWorkNumber, "munkaszam", "L1", true, false, false);
    row("editor type", C::EditorType, "tipus", "L3", true, true, false);
    row("editor other grouping", C::EditorOtherGroup, "egyebcsop", "Egyéb csoportosítás", true, false, false);
    row("new document type", C::NewDocumentType, "tipus", "L3", true, false, false);
    row("new document work number", C::NewDocumentWorkNumber, "munkaszam", "L1", true, false, false);
    row("new document project", C::NewDocumentProject, "projekt", "L2", true, false, false);
    row("settings default group", C::SettingsDefaultGroup, "csoport", "Csoport", true, true, false);
    row("membership new group", C::MembershipNewGroup, "csoport", "Csoport", true, true, false);
    // A caller added to the program needs its row here.
    for (int c = 0; c < MasterTable::CallerCount; ++c)
        QVERIFY2(covered.contains(c), qPrintable(QStringLiteral("caller %1 has no row").arg(c)));
}

void TestMasterDataRules::callers()
{
    QFETCH(int, caller);
    QFETCH(QString, table);
    QFETCH(QString, caption);
    QFETCH(bool, pick);
    QFETCH(bool, softDelete);
    QFETCH(bool, readOnly);
    ProgramSettings settings;
    settings.mezo1 = QStringLiteral("L1");
    settings.mezo2 = QStringLiteral("L2");
    settings.mezo3 = QStringLiteral("L3");
    const MasterTable::CallModes m = MasterTable::callModes(MasterTable::Caller(caller));
    QCOMPARE(m.table, table);
    QCOMPARE(m.captionIn(settings), caption);
    QCOMPARE(m.pickMode, pick);
    QCOMPARE(m.softDelete, softDelete);
    QCOMPARE(m.readOnly, readOnly);
}

void TestMasterDataRules::statements()
{
    QCOMPARE(MasterTable::deleteStatement(QStringLiteral("tipus"), 5, true),
             QStringLiteral("UPDATE tipus SET torolve = 'I' WHERE tipus = 5;"));
    QCOMPARE(MasterTable::deleteStatement(QStringLiteral("projekt"), QVariant(), false),
             QStringLiteral("DELETE FROM projekt WHERE projekt = 0;"));
    QCOMPARE(MasterTable::listQuery(QStringLiteral("csoport"), true),
             QStringList({"SELECT * FROM csoport", "WHERE (torolve = 'N')", "ORDER BY csoport_nev;"}));
    QCOMPARE(MainNumbers::displayText(1), QStringLiteral("00000001"));
    QCOMPARE(Clients::kindFilter(ClientKind::External), QStringLiteral("(belso = 'N')"));
    QCOMPARE(Users::addGroupStatement(3, QVariant()),
             QStringLiteral("INSERT IGNORE INTO felhkod_csoport (felhkod,csoport) VALUES (3,0);"));
    QCOMPARE(groupPickerRequest(7).sql.at(5), QStringLiteral("WHERE fcs.felhkod = 7"));
    QCOMPARE(groupPickerRequest(7).baseCondition, QStringLiteral("(fcs.felhkod = 7)"));
}

QTEST_GUILESS_MAIN(TestMasterDataRules)
#include "tst_masterdata_rules.moc"
