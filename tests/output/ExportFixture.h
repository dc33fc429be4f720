#pragma once

#include "common/Encoding.h"
#include "db/Dataset.h"
#include "db/Latin2.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QString>

// A row set with one field of every kind the writers tell apart, and values that
// test their rules: code page 1250 punctuation, line breaks, separators and
// backslashes inside values, NULLs, a whole number beyond 16 bits, a long text.
namespace ExportFixture {

enum Column
{
    Key,     // integer, right-aligned
    Subject, // text with a label
    Memo,    // long text
    Picture, // binary
    Arrived, // date
    Amount,  // decimal
    Big,     // 64-bit whole number
    Flag,    // BIT(1)
    ColumnCount
};

// A text as the server's connection delivers it: latin2, and code page 1250 for the
// punctuation that only that code page holds.
inline QByteArray wire(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        const QStringView one(&c, 1);
        out += Latin2::canEncode(one) ? Latin2::encode(one) : QByteArray(1, char(Cp1250Code(c)));
    }
    return out;
}

inline Dataset rows()
{
    QList<Field> fields(ColumnCount);
    fields[Key] = {QStringLiteral("iktato"), FieldType::Integer, 11};
    fields[Key].alignment = Qt::AlignRight | Qt::AlignVCenter;
    fields[Subject] = {QStringLiteral("targy"), FieldType::Text, 255, QStringLiteral("Tárgy")};
    fields[Memo] = {QStringLiteral("szoveg"), FieldType::LongText, 65535, QStringLiteral("Megjegyzés")};
    fields[Picture] = {QStringLiteral("kep"), FieldType::Binary, 100};
    fields[Arrived] = {QStringLiteral("dat_erk"), FieldType::Date, 10, QStringLiteral("Beérkezett")};
    fields[Arrived].displayFormat = QStringLiteral("yyyy.MM.dd");
    fields[Arrived].alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    fields[Amount] = {QStringLiteral("osszeg"), FieldType::Decimal, 12, QStringLiteral("Összeg")};
    fields[Amount].alignment = Qt::AlignRight | Qt::AlignVCenter;
    fields[Big] = {QStringLiteral("nagy"), FieldType::BigInt, 20};
    fields[Flag] = {QStringLiteral("jelzo"), FieldType::Binary, 1};
    Dataset data(fields);
    data.appendRow({1, wire(QStringLiteral("Árvíztűrő „tükör” – 5 €")), QStringLiteral("első\r\nmásodik\tharmadik;x"),
                    QByteArray("\x01\x02", 2), QDate(2024, 3, 1), 12.5, qint64(70000), QByteArray("\x01", 1)});
    data.appendRow({2, QStringLiteral("C:\\dok;más"), QVariant(), QVariant(), QVariant(), QVariant(), qint64(-3),
                    QByteArray("\x00", 1)});
    data.appendRow({3, QString(QString(300, QLatin1Char('a')) + QStringLiteral("ő")), QString(), QVariant(),
                    QDate(2023, 12, 31), 0.25, qint64(65535), QVariant()});
    return data;
}

// Rows with a key and a text only, built straight into the buffer.
inline Dataset manyRows(int count)
{
    Dataset data({Field{QStringLiteral("iktato"), FieldType::Integer, 11},
                  Field{QStringLiteral("targy"), FieldType::Text, 255, QStringLiteral("Tárgy")}});
    data.reserve(count, qsizetype(count) * 24);
    for (int i = 1; i <= count; ++i) {
        const QByteArray key = QByteArray::number(i);
        data.beginRow();
        data.appendCell(key.constData(), key.size());
        data.appendCell("Bejelentes", 10);
        data.endRow();
    }
    return data;
}

// Debian's own interpreter, which the xlrd package installs into.
inline QString python()
{
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}

} // namespace ExportFixture
