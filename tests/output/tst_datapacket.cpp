#include "output/DataPacketXml.h"

#include "ExportFixture.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <QtTest>

using namespace ExportFixture;

namespace {

struct Packet
{
    QList<QXmlStreamAttributes> fields;
    QList<QXmlStreamAttributes> rows;
    bool wellFormed = false;
};

Packet parse(const QByteArray &xml)
{
    Packet p;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("FIELD"))
            p.fields << reader.attributes();
        else if (reader.isStartElement() && reader.name() == QLatin1String("ROW"))
            p.rows << reader.attributes();
    }
    p.wellFormed = !reader.hasError();
    return p;
}

QByteArray written(Dataset &data)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeDataPacket(data, buffer);
    return buffer.data();
}

} // namespace

class TestDataPacket : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { resetProcessState(); }

    void fieldsCarryTheirTypes()
    {
        Dataset data = rows();
        const QByteArray xml = written(data);
        QVERIFY(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\""));
        const Packet p = parse(xml);
        QVERIFY(p.wellFormed);
        QCOMPARE(p.fields.size(), int(ColumnCount));
        const auto type = [&p](int col) { return p.fields[col].value(QLatin1String("fieldtype")).toString(); };
        QCOMPARE(p.fields[Subject].value(QLatin1String("attrname")), QLatin1String("targy"));
        QCOMPARE(type(Key), QStringLiteral("i4"));
        QCOMPARE(type(Subject), QStringLiteral("string"));
        QCOMPARE(p.fields[Subject].value(QLatin1String("WIDTH")), QLatin1String("255"));
        QCOMPARE(type(Memo), QStringLiteral("bin.hex"));
        QCOMPARE(p.fields[Memo].value(QLatin1String("SUBTYPE")), QLatin1String("Text"));
        QCOMPARE(type(Arrived), QStringLiteral("date"));
        QCOMPARE(type(Amount), QStringLiteral("r8"));
        QCOMPARE(type(Big), QStringLiteral("i8"));
    }

    void rowsKeepEveryValue()
    {
        Dataset data = rows();
        data.setCurrent(1);
        const Packet p = parse(written(data));
        QCOMPARE(p.rows.size(), 3);
        const QXmlStreamAttributes &first = p.rows[0];
        QCOMPARE(first.value(QLatin1String("targy")), QStringLiteral("Árvíztűrő „tükör” – 5 €"));
        QCOMPARE(first.value(QLatin1String("szoveg")), QStringLiteral("első\r\nmásodik\tharmadik;x"));
        QCOMPARE(first.value(QLatin1String("dat_erk")), QLatin1String("20240301"));
        QCOMPARE(first.value(QLatin1String("osszeg")), QLatin1String("12.5"));
        QCOMPARE(first.value(QLatin1String("kep")), QLatin1String("AQI="));
        // NULL leaves the attribute out; an empty text does not.
        QVERIFY(!p.rows[1].hasAttribute(QLatin1String("dat_erk")));
        QVERIFY(p.rows[2].hasAttribute(QLatin1String("szoveg")));
        QCOMPARE(p.rows[1].value(QLatin1String("targy")), QStringLiteral("C:\\dok;más"));
        QCOMPARE(data.current(), 1);
    }

    void fieldNameThatIsNoXmlName()
    {
        Dataset data({Field{QStringLiteral("COUNT(*)"), FieldType::BigInt, 21},
                      Field{QStringLiteral("a<b"), FieldType::Text, 5}});
        data.appendRow({qint64(7), QStringLiteral("x&\"y")});
        const Packet p = parse(written(data));
        QVERIFY(p.wellFormed);
        QCOMPARE(p.fields[0].value(QLatin1String("fieldname")), QLatin1String("COUNT(*)"));
        const QString attr = p.fields[0].value(QLatin1String("attrname")).toString();
        QCOMPARE(p.rows[0].value(attr), QLatin1String("7"));
        QCOMPARE(p.rows[0].value(p.fields[1].value(QLatin1String("attrname")).toString()), QLatin1String("x&\"y"));
    }
};

QTEST_GUILESS_MAIN(TestDataPacket)
#include "tst_datapacket.moc"
