#pragma once

// The demo generator's inner parts, shared by its two halves (master data, documents).

#include "demo/DemoData.h"

#include "common/SqlText.h"
#include "demo/DemoVocabulary.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>

namespace DemoDataDetail {

using namespace DemoVocabulary;

template <size_t N> QStringList words(const char *const (&list)[N])
{
    QStringList out;
    out.reserve(qsizetype(N));
    for (const char *w : list)
        out << QString::fromUtf8(w);
    return out;
}

// The name in lower-case ASCII letters, for logins, e-mail addresses and web users.
inline QString asciiFold(const QString &text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            out += c.toLower();
    }
    return out;
}

// "Kiss János" -> "janos.kiss"
inline QString mailName(const QString &person)
{
    return asciiFold(person.section(QLatin1Char(' '), 1)) + QLatin1Char('.') +
           asciiFold(person.section(QLatin1Char(' '), 0, 0));
}

// ---------------------------------------------------------------- SQL values
inline QString txt(const QString &text)
{
    return SqlLiteral(text);
}
inline QString num(qint64 value)
{
    return SqlInt(value);
}
// NULL for an invalid date.
inline QString date(const QDate &day)
{
    return SqlDate(day);
}
inline QString flag(bool on)
{
    return on ? QStringLiteral("'I'") : QStringLiteral("'N'");
}
inline QString stamp(const QDateTime &when)
{
    return SqlLiteral(when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// One multi-row INSERT; rows are added as already-literal values.
class Insert
{
public:
    explicit Insert(QString head, QString tail = QString()) : m_head(std::move(head)), m_tail(std::move(tail))
    {
    }
    void add(std::initializer_list<QString> values)
    {
        m_body += m_rows == 0 ? QStringLiteral("\n(") : QStringLiteral(",\n(");
        bool first = true;
        for (const QString &v : values) {
            if (!first)
                m_body += QLatin1Char(',');
            m_body += v;
            first = false;
        }
        m_body += QLatin1Char(')');
        ++m_rows;
    }
    int rows() const { return m_rows; }
    // Sends the rows collected so far (nothing when there are none).
    void flush(Connection &c)
    {
        if (m_rows == 0)
            return;
        c.exec(m_head + QStringLiteral(" VALUES") + m_body + m_tail);
        m_body.clear();
        m_rows = 0;
    }

private:
    QString m_head;
    QString m_tail;
    QString m_body;
    int m_rows = 0;
};

class Dice
{
public:
    explicit Dice(quint32 seed) : m_gen(seed) {}
    int below(int n) { return n <= 1 ? 0 : int(m_gen.bounded(quint32(n))); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int perMille) { return below(1000) < perMille; }
    const QString &pick(const QStringList &list) { return list[below(int(list.size()))]; }
    template <typename T> const T &pick(const QList<T> &list) { return list[below(int(list.size()))]; }

private:
    QRandomGenerator m_gen;
};

struct Entry
{
    int key = 0;
    QString name;
};

struct Client
{
    int key = 0;
    QString name;
};

} // namespace DemoDataDetail

using namespace DemoDataDetail;

// ---------------------------------------------------------------- the generator

struct DemoData::Impl
{
    Impl(Connection &connection, DemoOptions options) : c(connection), o(std::move(options)), dice(o.seed) {}

    Connection &c;
    DemoOptions o;
    Progress progress;
    Dice dice;
    DemoSummary s;
    QDate today;
    bool serialYearly = false; // beallit.mindigegyrolindul
    bool subYearly = false;    // beallit.alszamevenkent

    QStringList surnameList = words(surnames), maleList = words(maleNames), femaleList = words(femaleNames);
    QStringList streetList = words(streets), monthList = words(months), storageList = words(storagePlaces),
                reminderList = words(reminderTexts), remarkList = words(remarks),
                keywordList = words(keywords), fileNameList = words(attachmentNames);
    QList<Entry> groups;            // every group documents may go to
    QHash<int, QList<int>> writers; // group -> users who may register into it
    QList<Client> externals, internals, units;
    QList<Entry> projectEntries, workEntries, typeEntries, otherEntries;
    struct MainNumber
    {
        int key;
        int year; // 0: used every year
    };
    QList<MainNumber> mainNumbers;
    QHash<int, QList<int>> mainByYear; // year -> main numbers a document of that year may get
    QHash<int, QString> statusNames;
    // Last number handed out, by (main number, year); main number 0 is the serial number.
    QHash<QPair<int, int>, int> serials, subs;
    QList<int> groupKeys;
    int nextDocument = 0, nextFile = 0;
    // The rows of the batch being built.
    Insert documents{QStringLiteral("INSERT INTO iktato (iktato, iktato2, az1, az2, targy, ugyf_kitol, "
                                    "ugyf_hova, ugyf_intezkedesre, tarolo, "
                                    "dat_erk, dat_hatid, dat_megorzes, hivszam, torolve, dat_figy, "
                                    "figy_szoveg, nyomtatni, projekt, munkaszam, "
                                    "irany, tipus, csoport, felhkod, kolcsonadva, kolcsonadva_dat, "
                                    "kolcsonadva_kinek, statusz, kulcsszavak, "
                                    "megjegyzes, egyebcsop)")};
    Insert files{QStringLiteral(
        "INSERT INTO iktato_file (iktato_file, iktato, filenev, origfilenev, felhkod, rogzitve)")};
    Insert copies{QStringLiteral("INSERT IGNORE INTO masolat (iktato, ugyfel, rogzitve)")};
    Insert journal{QStringLiteral("INSERT INTO iktnaplo (iktato, felhkod, datum, szoveg)")};

    void run();
    void readState();
    void transaction(const std::function<void()> &work);
    void addMasterData();
    void addPostalCodes();
    void addGroupsAndUsers();
    void addClients();
    void addLookups();
    void addDocuments();
    void markFilelessAttachments(int firstFile);
    void addSampleFiles();
    struct Document;
    Document drawDocument(const QDate &arrived, bool remindsToday);
    QString referenceNumber(int year);
    void writeDocument(const Document &d);
    void writeHistory(const Document &d); // journal, attachments, copies
    void updateCounters();

    int maxOf(const QString &column, const QString &table)
    {
        return c.selectValue(QStringLiteral("SELECT IFNULL(MAX(%1), 0) FROM %2").arg(column, table)).toInt();
    }
    QString personName()
    {
        const QString &given = dice.chance(500) ? dice.pick(maleList) : dice.pick(femaleList);
        return dice.pick(surnameList) + QLatin1Char(' ') + given;
    }
    QString address()
    {
        const QString street = dice.pick(streetList);
        return street + QLatin1Char(' ') + QString::number(dice.between(1, 120)) + QLatin1Char('.');
    }
    QString phone(bool mobile)
    {
        if (mobile) {
            static const int prefixes[] = {20, 30, 70};
            return QStringLiteral("06-%1-%2-%3")
                .arg(prefixes[dice.below(3)])
                .arg(dice.between(100, 999))
                .arg(dice.between(1000, 9999));
        }
        return QStringLiteral("06-%1-%2-%3")
            .arg(areaCodes[dice.below(int(std::size(areaCodes)))])
            .arg(dice.between(100, 999))
            .arg(dice.between(100, 999));
    }
};
