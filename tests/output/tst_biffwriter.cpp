#include "core/Session.h"
#include "db/DbError.h"
#include "output/BiffWriter.h"
#include "register/DocumentListQuery.h"

#include "ExportFixture.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace ExportFixture;

namespace {

struct Record
{
    quint16 id;
    QByteArray data;
    int row() const { return qFromLittleEndian<quint16>(data.constData()); }
    int col() const { return qFromLittleEndian<quint16>(data.constData() + 2); }
    int font() const { return uchar(data[5]) >> 6; }
    int align() const { return uchar(data[6]) & 7; }
};

QList<Record> records(const QByteArray &stream)
{
    QList<Record> out;
    for (qsizetype at = 0; at + 4 <= stream.size();) {
        const quint16 id = qFromLittleEndian<quint16>(stream.constData() + at);
        const quint16 len = qFromLittleEndian<quint16>(stream.constData() + at + 2);
        out.append({id, stream.mid(at + 4, len)});
        at += 4 + len;
    }
    return out;
}

const Record *cellAt(const QList<Record> &recs, int row, int col)
{
    for (const Record &r : recs)
        if (r.id >= 1 && r.id <= 5 && r.row() == row && r.col() == col)
            return &r;
    return nullptr;
}

QByteArray written(Dataset &data, const QList<int> &columns)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    BiffWriter::write(&data, columns, buffer);
    return buffer.data();
}

// The sheet as xlrd reads it: per row the [kind, value] pairs.
QJsonArray readBack(const QString &fileName)
{
    QProcess reader;
    reader.start(python(), {QStringLiteral(KORVENA_TEST_DATA "/../output/read_xls.py"), fileName});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0) {
        qWarning("%s", reader.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object().value(QLatin1String("rows")).toArray();
}

QString refusal(Dataset *data)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    try {
        BiffWriter::write(data, {0}, buffer);
    } catch (const KorvenaError &e) {
        return buffer.data().isEmpty() ? e.text() : QStringLiteral("written before refusing");
    }
    return {};
}

} // namespace

class TestBiffWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { resetProcessState(); }

    void cellRecordsFollowTheFieldTypes()
    {
        Dataset data = rows();
        data.setCurrent(1);
        const QList<Record> recs = records(written(data, {Key, Subject, Memo, Arrived, Amount, Big, Flag}));
        QCOMPARE(recs.first().id, quint16(0x0009));
        QCOMPARE(recs.last().id, quint16(0x000A));
        QCOMPARE(recs.last().data.size(), 0);
        int fonts = 0;
        for (const Record &r : recs)
            fonts += r.id == 0x0031;
        QCOMPARE(fonts, 3);

        // Header: labels in the header font, general alignment.
        const Record *h = cellAt(recs, 0, 1);
        QVERIFY(h && h->id == 0x0004);
        QCOMPARE(h->font(), 2);
        QCOMPARE(h->align(), 0);

        QCOMPARE(cellAt(recs, 1, 0)->id, quint16(0x0002)); // 1: integer
        QCOMPARE(cellAt(recs, 1, 0)->align(), 3);          // right-justified field
        QCOMPARE(cellAt(recs, 1, 0)->font(), 0);
        QCOMPARE(cellAt(recs, 1, 3)->id, quint16(0x0004)); // date: text
        QCOMPARE(cellAt(recs, 1, 3)->align(), 2);          // centred field
        QCOMPARE(cellAt(recs, 1, 4)->id, quint16(0x0003)); // decimal: number
        QCOMPARE(cellAt(recs, 1, 5)->id, quint16(0x0003)); // 70 000 does not fit 16 bits
        QCOMPARE(cellAt(recs, 1, 6)->id, quint16(0x0005)); // BIT(1): boolean
        QCOMPARE(cellAt(recs, 2, 3)->id, quint16(0x0001)); // NULL: blank
        QCOMPARE(cellAt(recs, 2, 5)->id, quint16(0x0003)); // -3: number
        QCOMPARE(cellAt(recs, 3, 5)->id, quint16(0x0002)); // 65 535 still fits
        // The row set is back where it was.
        QCOMPARE(data.current(), 1);
    }

    void independentReaderSeesTheValues()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("lista.xls"));
        Dataset data = rows();
        BiffWriter::writeFile(&data, {Key, Subject, Arrived, Amount, Big, Flag}, name);
        const QJsonArray sheet = readBack(name);
        QCOMPARE(sheet.size(), 4);
        const auto cell = [&sheet](int r, int c) { return sheet[r].toArray()[c].toArray(); };
        QCOMPARE(cell(0, 0)[1].toString(), QStringLiteral("iktato"));
        QCOMPARE(cell(0, 1)[1].toString(), QStringLiteral("Tárgy"));
        QCOMPARE(cell(0, 3)[1].toString(), QStringLiteral("Összeg"));
        QCOMPARE(cell(1, 0), QJsonArray({QStringLiteral("number"), 1.0}));
        QCOMPARE(cell(1, 1), QJsonArray({QStringLiteral("text"), QStringLiteral("Árvíztűrő „tükör” – 5 €")}));
        QCOMPARE(cell(1, 2), QJsonArray({QStringLiteral("text"), QStringLiteral("2024.03.01")}));
        QCOMPARE(cell(1, 3), QJsonArray({QStringLiteral("number"), 12.5}));
        QCOMPARE(cell(1, 4), QJsonArray({QStringLiteral("number"), 70000.0}));
        QCOMPARE(cell(1, 5), QJsonArray({QStringLiteral("bool"), 1}));
        QCOMPARE(cell(2, 1)[1].toString(), QStringLiteral("C:\\dok;más"));
        QCOMPARE(cell(2, 4), QJsonArray({QStringLiteral("number"), -3.0}));
        // A long text is cut to its first 255 characters.
        QCOMPARE(cell(3, 1)[1].toString(), QString(255, QLatin1Char('a')));
    }

    void untickedFieldLeavesNoGap()
    {
        Dataset data = rows();
        const QList<Record> recs = records(written(data, {Key, Big}));
        QCOMPARE(cellAt(recs, 0, 1)->data.mid(8), QByteArray("nagy"));
        QCOMPARE(cellAt(recs, 1, 1)->id, quint16(0x0003));
        QVERIFY(!cellAt(recs, 0, 2));
    }

    void refusals_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << 0 << QStringLiteral("Adatforrás nélkül a művelet nem végezhető el.");
        QTest::newRow("closed") << 1 << QStringLiteral("Lezárt adatforráson a művelet nem végezhető el.");
        QTest::newRow("empty") << 2 << QStringLiteral("Üres adatforráson a művelet nem végezhető el.");
        QTest::newRow("empty after its filter") << 3 << QStringLiteral("Üres adatforráson a művelet nem végezhető el.");
        QTest::newRow("beyond a sheet's rows") << 4 << QStringLiteral("A munkalap legfeljebb 16383 sort fogad");
    }

    void refusals()
    {
        QFETCH(int, kind);
        QFETCH(QString, message);
        Dataset closed;
        Dataset empty = rows();
        empty.clear();
        Dataset filtered = rows();
        filtered.setFilter([](const Dataset &, int) { return false; });
        Dataset tooMany = manyRows(BiffWriter::MaxDataRows + 1);
        Dataset *const cases[] = {nullptr, &closed, &empty, &filtered, &tooMany};
        QVERIFY(refusal(cases[kind]).startsWith(message));
    }

    // A refusal comes before anything is written: the previous file of that name stays.
    void refusedFileKeepsThePreviousOne()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("ures.xls"));
        Dataset empty = rows();
        empty.clear();
        QVERIFY_THROWS_EXCEPTION(KorvenaError, BiffWriter::writeFile(&empty, {0}, name));
        QVERIFY(!QFile::exists(name));
        {
            QFile previous(name);
            QVERIFY(previous.open(QIODevice::WriteOnly));
            previous.write("az előző");
        }
        Dataset tooMany = manyRows(BiffWriter::MaxDataRows + 1);
        QVERIFY_THROWS_EXCEPTION(KorvenaError, BiffWriter::writeFile(&tooMany, {0, 1}, name));
        QFile previous(name);
        QVERIFY(previous.open(QIODevice::ReadOnly));
        QCOMPARE(previous.readAll(), QByteArray("az előző"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("ures.xls")});
        QVERIFY_THROWS_EXCEPTION(KorvenaError,
                                 BiffWriter::writeFile(&empty, {0}, dir.filePath(QStringLiteral("x/y.xls"))));
    }

    // BIGINT UNSIGNED beyond the signed range is a number, never a stand-in -1.
    void unsignedBeyondSignedRangeStaysANumber()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("nagy.xls"));
        Dataset data({Field{QStringLiteral("nagy"), FieldType::BigInt, 20}});
        data.appendRow({QByteArray("18446744073709551615")});
        data.appendRow({QByteArray("9223372036854775808")});
        BiffWriter::writeFile(&data, {0}, name);
        const QJsonArray sheet = readBack(name);
        QCOMPARE(sheet[1].toArray()[0].toArray(), QJsonArray({QStringLiteral("number"), 18446744073709551615.0}));
        QCOMPARE(sheet[2].toArray()[0].toArray(), QJsonArray({QStringLiteral("number"), 9223372036854775808.0}));
        QCOMPARE(QFile::permissions(name) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
    }

    void stopEndsAReadableSheet()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("fel.xls"));
        Dataset data = manyRows(1000);
        BiffWriter::writeFile(&data, {0, 1}, name, [](int done, int) { return done < 10; });
        QCOMPARE(readBack(name).size(), 11);
    }

    void demoListReadBack()
    {
        // The register the demo generator fills, through the admin tool built beside the tests.
        TestDatabase db;
        const ConnectionParams p = db.params();
        QProcess admin;
        admin.setProcessChannelMode(QProcess::MergedChannels);
        admin.start(QStringLiteral(QT_TESTCASE_BUILDDIR "/../src/korvena-admin"),
                    {QStringLiteral("demo"), QStringLiteral("--host"), p.host, QStringLiteral("--port"),
                     QString::number(p.port), QStringLiteral("--user"), p.user, QStringLiteral("--password"),
                     p.password, QStringLiteral("--database"), p.database, QStringLiteral("--documents"),
                     QStringLiteral("400")});
        QVERIFY2(admin.waitForFinished(120000) && admin.exitCode() == 0, admin.readAll().constData());

        Dataset list;
        DocumentListQuery query;
        query.setCondition(QStringLiteral("torolve = 'N' AND fcs = 1"));
        query.open(db.connection(), list, session().settings);
        QVERIFY(list.rowCount() > 100);
        QList<int> all;
        for (int c = 0; c < list.fieldCount(); ++c)
            all << c;
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("Iktato.xls"));
        list.setCurrent(2);
        BiffWriter::writeFile(&list, all, name);
        QCOMPARE(list.current(), 2);

        const QJsonArray sheet = readBack(name);
        QCOMPARE(sheet.size(), list.rowCount() + 1);
        const QJsonArray header = sheet[0].toArray();
        QCOMPARE(header.size(), 46);
        for (int c = 0; c < list.fieldCount(); ++c)
            QCOMPARE(header[c].toArray()[1].toString(), list.field(c).displayLabel());
        // Every cell by its field's kind: whole numbers and texts (dates among them) as the list holds them.
        for (int r = 0; r < list.rowCount(); ++r) {
            const QJsonArray row = sheet[r + 1].toArray();
            for (int c = 0; c < list.fieldCount(); ++c) {
                const QJsonArray cell = row[c].toArray();
                const FieldType type = list.field(c).type;
                if (list.isNull(r, c)) {
                    QCOMPARE(cell[0].toString(), QStringLiteral("empty"));
                } else if (type == FieldType::Integer || type == FieldType::BigInt) {
                    QCOMPARE(cell, QJsonArray({QStringLiteral("number"), double(list.toInt(r, c))}));
                } else if (type == FieldType::Text || type == FieldType::Date) {
                    QCOMPARE(cell[0].toString(), QStringLiteral("text"));
                    QCOMPARE(cell[1].toString(), list.displayText(r, c).left(255));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestBiffWriter)
#include "tst_biffwriter.moc"
