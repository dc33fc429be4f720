#include "core/DemoData.h"

#include "common/SqlText.h"
#include "core/DemoVocabulary.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>

namespace {

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
QString asciiFold(const QString &text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            out += c.toLower();
    }
    return out;
}

// "Kiss János" -> "janos.kiss"
QString mailName(const QString &person)
{
    return asciiFold(person.section(QLatin1Char(' '), 1)) + QLatin1Char('.') +
           asciiFold(person.section(QLatin1Char(' '), 0, 0));
}

// ---------------------------------------------------------------- SQL values
QString txt(const QString &text)
{
    return SqlLiteral(text);
}
QString num(qint64 value)
{
    return SqlInt(value);
}
// NULL for an invalid date.
QString date(const QDate &day)
{
    return SqlDate(day);
}
QString flag(bool on)
{
    return on ? QStringLiteral("'I'") : QStringLiteral("'N'");
}
QString stamp(const QDateTime &when)
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

} // namespace

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

DemoData::DemoData(Connection &connection, DemoOptions options)
    : d(std::make_unique<Impl>(connection, std::move(options)))
{
}

DemoData::~DemoData() = default;

void DemoData::setProgress(Progress progress)
{
    d->progress = std::move(progress);
}

DemoSummary DemoData::run()
{
    d->run();
    return d->s;
}

QStringList DemoData::demoLogins()
{
    QStringList logins;
    for (const DemoUser &u : demoUsers)
        logins << QString::fromUtf8(u.login);
    return logins;
}

qint64 DemoData::documentCount(Connection &connection)
{
    return connection.selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato")).toLongLong();
}

void DemoData::Impl::run()
{
    if (o.documents < 0)
        throw KorvenaError(QStringLiteral("A dokumentumok száma nem lehet negatív."));
    if (o.years < 1)
        o.years = 1;
    if (o.batchRows < 1)
        o.batchRows = 1000;
    readState();
    addMasterData();
    addDocuments();
    updateCounters();
}

void DemoData::Impl::readState()
{
    today = o.today.isValid() ? o.today : c.selectValue(QStringLiteral("SELECT CURDATE()")).toDate();
    const Dataset settings = c.query(
        QStringLiteral("SELECT mindigegyrolindul, alszamevenkent FROM beallit ORDER BY beallit LIMIT 1"));
    if (!settings.isEmpty()) {
        serialYearly = settings.text(0, 0) == QLatin1String("I");
        subYearly = settings.text(0, 1) == QLatin1String("I");
    }
    // Counters continue from whatever is larger: the counter rows or the numbers in use.
    const Dataset counters = c.query(QStringLiteral("SELECT szamlalo, foszam, ev, ertek FROM szamlalo"));
    for (int r = 0; r < counters.rowCount(); ++r) {
        auto &target = counters.text(r, 0) == QLatin1String("iktato2") ? serials : subs;
        const QPair<int, int> k(int(counters.toInt(r, 1)), int(counters.toInt(r, 2)));
        target[k] = std::max(target.value(k), int(counters.toInt(r, 3)));
    }
    const Dataset used =
        c.query(QStringLiteral("SELECT IFNULL(YEAR(dat_erk), 0), MAX(iktato2) FROM iktato GROUP BY 1"));
    for (int r = 0; r < used.rowCount(); ++r) {
        const QPair<int, int> k(0, serialYearly ? int(used.toInt(r, 0)) : 0);
        serials[k] = std::max(serials.value(k), int(used.toInt(r, 1)));
    }
    const Dataset usedSubs = c.query(QStringLiteral(
        "SELECT az1, IFNULL(YEAR(dat_erk), 0), MAX(az2) FROM iktato WHERE az1 > 0 GROUP BY 1, 2"));
    for (int r = 0; r < usedSubs.rowCount(); ++r) {
        const QPair<int, int> k(int(usedSubs.toInt(r, 0)), subYearly ? int(usedSubs.toInt(r, 1)) : 0);
        subs[k] = std::max(subs.value(k), int(usedSubs.toInt(r, 2)));
    }
}

void DemoData::Impl::transaction(const std::function<void()> &work)
{
    c.exec(QStringLiteral("START TRANSACTION"));
    try {
        work();
        c.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            c.exec(QStringLiteral("ROLLBACK"));
        } catch (...) {
            // The first failure is the one worth reporting.
        }
        throw;
    }
}

void DemoData::Impl::addMasterData()
{
    if (progress)
        progress(QStringLiteral("Törzsadatok"), 0, 1);
    transaction([this] {
        addPostalCodes();
        addGroupsAndUsers();
        addClients();
        addLookups();
    });
    if (progress)
        progress(QStringLiteral("Törzsadatok"), 1, 1);
}

void DemoData::Impl::addPostalCodes()
{
    QSet<QString> known;
    const Dataset rows = c.query(QStringLiteral("SELECT irsz, varos FROM irsz"));
    for (int r = 0; r < rows.rowCount(); ++r)
        known.insert(rows.text(r, 0) + QLatin1Char('|') + rows.text(r, 1).toLower());
    Insert insert(QStringLiteral("INSERT INTO irsz (irsz, varos)"));
    for (const PostalCode &p : postalCodes) {
        const QString code = QString::fromUtf8(p.code), town = QString::fromUtf8(p.town);
        if (known.contains(code + QLatin1Char('|') + town.toLower()))
            continue;
        insert.add({txt(code), txt(town)});
        ++s.postalCodes;
    }
    insert.flush(c);
}

void DemoData::Impl::addGroupsAndUsers()
{
    // Groups: the existing ones stay in use; a department whose name exists is not added again.
    QHash<QString, int> groupByName;
    const Dataset existing =
        c.query(QStringLiteral("SELECT csoport, csoport_nev FROM csoport WHERE IFNULL(torolve, 'N') <> 'I' "
                               "ORDER BY csoport"));
    for (int r = 0; r < existing.rowCount(); ++r) {
        groups << Entry{int(existing.toInt(r, 0)), existing.text(r, 1)};
        groupByName.insert(existing.text(r, 1).toLower(), int(existing.toInt(r, 0)));
    }
    int nextGroup = maxOf(QStringLiteral("csoport"), QStringLiteral("csoport")) + 1;
    QList<int> departmentGroup;
    Insert groupInsert(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev, torolve)"));
    for (const QString &name : words(departments)) {
        int key = groupByName.value(name.toLower());
        if (key == 0) {
            key = nextGroup++;
            groupInsert.add({num(key), txt(name), flag(false)});
            groups << Entry{key, name};
            ++s.groups;
        }
        departmentGroup << key;
    }
    groupInsert.flush(c);

    // Users: a login that exists already is reused as it is.
    QHash<QString, int> userByLogin;
    const Dataset users = c.query(QStringLiteral("SELECT felhkod, felhasznalo FROM felhasznalo"));
    for (int r = 0; r < users.rowCount(); ++r)
        userByLogin.insert(users.text(r, 1).toLower(), int(users.toInt(r, 0)));
    const bool hasAdmin = userByLogin.values().contains(1);
    const QString md5 = QString::fromLatin1(
        QCryptographicHash::hash(demoPassword().toLatin1(), QCryptographicHash::Md5).toHex());
    int nextUser = maxOf(QStringLiteral("felhkod"), QStringLiteral("felhasznalo")) + 1;
    Insert userInsert(
        QStringLiteral("INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, rendszergazda, "
                       "torzsszerkeszt, csaksajat, canins, canedit, candel, jelszomd5, torolve)"));
    Insert memberInsert(QStringLiteral("INSERT IGNORE INTO felhkod_csoport (felhkod, csoport)"));
    auto member = [&](int user, int group, bool writes) {
        memberInsert.add({num(user), num(group)});
        if (writes && !writers[group].contains(user))
            writers[group] << user;
    };
    // The built-in administrator sees every document, so the demo can be looked at from his login.
    if (hasAdmin) {
        for (const Entry &g : groups)
            member(1, g.key, true);
    }
    for (const DemoUser &u : demoUsers) {
        const QString login = QString::fromUtf8(u.login);
        int key = userByLogin.value(login);
        if (key == 0) {
            key = nextUser++;
            userInsert.add({num(key), txt(login), txt(QString::fromUtf8(u.name)), flag(u.admin),
                            flag(u.masterData), flag(false), flag(u.write), flag(u.write), flag(u.write),
                            txt(md5), flag(false)});
            ++s.users;
        }
        if (u.admin) {
            for (const Entry &g : groups)
                member(key, g.key, u.write);
            continue;
        }
        member(key, departmentGroup[u.department], u.write);
        // Everybody also reads the secretariat's mail and one more department.
        member(key, departmentGroup[0], u.write);
        member(key, departmentGroup[dice.below(int(departmentGroup.size()))], u.write);
    }
    userInsert.flush(c);
    memberInsert.flush(c);
    // A group nobody may register into gets its documents from the administrators.
    for (const Entry &g : groups) {
        if (writers.value(g.key).isEmpty())
            writers[g.key] << (hasAdmin ? 1 : nextUser - 1);
    }
}

void DemoData::Impl::addClients()
{
    const int internalCount = std::clamp(o.documents / 500, 20, 150);
    const int externalCount = std::clamp(o.documents / 40, 50, 2500);
    int next = maxOf(QStringLiteral("ugyfel"), QStringLiteral("ugyfel")) + 1;
    Insert insert(
        QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, irsz, varos, cim, ui, telefon, emil, belso, "
                       "webuser, webpwd, kellsorvika, kellemil, kellsms, torolve, dat_torolve)"));
    QSet<QString> names;
    auto unique = [&](const std::function<QString()> &make) -> QString {
        QString name;
        for (int attempt = 0; attempt < 10; ++attempt) {
            name = make().left(50);
            if (!names.contains(name))
                break;
        }
        names.insert(name);
        return name;
    };
    const QStringList departmentNames = words(departments);
    const QStringList stems = words(firmStems), trades = words(firmTrades), forms = words(legalForms);
    const QStringList localBodies = words(authorities), bodies = words(nationalBodies);
    const int budapestCodes = 23; // the first entries of the postal code list
    const PostalCode &home = postalCodes[dice.below(int(std::size(postalCodes)))];
    const QString homeAddress = address();

    // Internal units and persons share the organisation's address.
    for (int i = 0; i < departmentNames.size() + internalCount; ++i) {
        const bool unit = i < departmentNames.size();
        const QString department = unit ? departmentNames[i] : dice.pick(departmentNames);
        const QString name = unit ? department : unique([this] { return personName(); });
        const QString mailbox = unit ? asciiFold(department) : mailName(name);
        const QString mail = mailbox + QStringLiteral("@pelda-hivatal.hu");
        const QString extension = QStringLiteral("06-1-555-%1").arg(1000 + i);
        insert.add({num(next), txt(name), txt(QString::fromUtf8(home.code)),
                    txt(QString::fromUtf8(home.town)), txt(homeAddress), txt(unit ? QString() : department),
                    txt(extension), txt(mail), flag(true), txt(QString()), txt(QString()), flag(false),
                    flag(true), flag(false), flag(false), QStringLiteral("NULL")});
        (unit ? units : internals) << Client{next, name};
        ++next;
        ++s.internalClients;
    }

    for (int i = 0; i < externalCount; ++i) {
        const int roll = dice.below(100);
        const PostalCode *place = &postalCodes[dice.below(int(std::size(postalCodes)))];
        Client client{next, QString()};
        QString contact, mail, phoneText;
        if (roll < 55) {
            client.name = unique([&]() -> QString {
                const int shape = dice.below(10);
                const QString first = shape < 4 ? dice.pick(surnameList) : dice.pick(stems);
                if (shape < 3)
                    return first + QStringLiteral(" és Társa ") + dice.pick(forms);
                if (shape < 4)
                    return first + QStringLiteral(" és Fia Bt.");
                const QString trade = dice.pick(trades);
                return first + QLatin1Char(' ') + trade + QLatin1Char(' ') + dice.pick(forms);
            });
            contact = personName();
            mail = QStringLiteral("info@") + asciiFold(client.name.section(QLatin1Char(' '), 0, -2)) +
                   QStringLiteral(".hu");
            phoneText = phone(false);
        } else if (roll < 80) {
            client.name = unique([this] { return personName(); });
            static const char *const mailHosts[] = {"freemail.hu", "gmail.com", "citromail.hu",
                                                    "t-online.hu"};
            mail = mailName(client.name) + QLatin1Char('@') + QString::fromLatin1(mailHosts[dice.below(4)]);
            phoneText = phone(true);
        } else {
            // National bodies sit in the capital, local ones in a town of their own name.
            const bool national = dice.chance(250);
            place = national ? &postalCodes[dice.below(budapestCodes)]
                             : &postalCodes[dice.between(budapestCodes, int(std::size(postalCodes)) - 1)];
            const QString seat = QString::fromUtf8(place->town);
            client.name = unique(
                [&]() -> QString { return national ? dice.pick(bodies) : dice.pick(localBodies).arg(seat); });
            contact = personName();
            mail = QStringLiteral("hivatal@") +
                   (national ? asciiFold(client.name).left(24) : asciiFold(seat)) + QStringLiteral(".hu");
            phoneText = phone(false);
        }
        const bool store = dice.chance(50);
        const bool deleted = i % 40 == 7; // a few, whatever the seed
        insert.add({num(next), txt(client.name), txt(QString::fromUtf8(place->code)),
                    txt(QString::fromUtf8(place->town)), txt(address()), txt(contact), txt(phoneText),
                    txt(mail), flag(false), txt(store ? asciiFold(client.name).left(20) : QString()),
                    txt(store ? QString::number(dice.between(10000000, 99999999)) : QString()), flag(store),
                    flag(dice.chance(300)), flag(dice.chance(100)), flag(deleted),
                    deleted ? stamp(QDateTime(today.addDays(-dice.below(700)), QTime(10, 0)))
                            : QStringLiteral("NULL")});
        externals << client;
        ++next;
        ++s.clients;
        if (insert.rows() >= o.batchRows)
            insert.flush(c);
    }
    insert.flush(c);
}

void DemoData::Impl::addLookups()
{
    auto addNames = [this](const QString &table, const QStringList &names, bool softDelete,
                           QList<Entry> &into) {
        int next = maxOf(table, table) + 1;
        Insert insert(QStringLiteral("INSERT INTO %1 (%1, %1_nev%2)")
                          .arg(table, softDelete ? QStringLiteral(", torolve") : QString()));
        for (const QString &name : names) {
            if (softDelete)
                insert.add({num(next), txt(name), flag(false)});
            else
                insert.add({num(next), txt(name)});
            into << Entry{next++, name};
        }
        insert.flush(c);
        return int(names.size());
    };
    s.projects = addNames(QStringLiteral("projekt"), words(projects), false, projectEntries);
    s.workNumbers = addNames(QStringLiteral("munkaszam"), words(workNumbers), false, workEntries);
    s.types = addNames(QStringLiteral("tipus"), words(types), true, typeEntries);
    s.otherGroupings = addNames(QStringLiteral("egyebcsop"), words(otherGroupings), false, otherEntries);

    // Main numbers: yearly files for every year the documents span, and some that run on.
    static const char *const yearly[] = {"Testületi ülések", "Költségvetés", "Közbeszerzések",
                                         "Szerződések",      "Pályázatok",   "Személyügyi iratok"};
    static const char *const lasting[] = {
        "Építéshatósági ügyek", "Adóügyek",         "Ingatlanügyek", "Panaszügyek",
        "Közterület-használat", "Környezetvédelem", "Peres ügyek",   "Őrzött iratok"};
    int next = maxOf(QStringLiteral("foszam"), QStringLiteral("foszam")) + 1;
    Insert insert(QStringLiteral("INSERT INTO foszam (foszam, foszam_nev, torolve)"));
    for (int year = today.year() - o.years + 1; year <= today.year(); ++year) {
        for (const char *name : yearly) {
            insert.add({num(next), txt(QString::fromUtf8(name) + QLatin1Char(' ') + QString::number(year)),
                        flag(false)});
            mainNumbers << MainNumber{next++, year};
        }
    }
    for (const char *name : lasting) {
        insert.add({num(next), txt(QString::fromUtf8(name)), flag(false)});
        mainNumbers << MainNumber{next++, 0};
    }
    s.mainNumbers = insert.rows();
    insert.flush(c);
    for (int year = today.year() - o.years + 1; year <= today.year(); ++year) {
        for (const MainNumber &m : mainNumbers) {
            if (m.year == 0 || m.year == year)
                mainByYear[year] << m.key;
        }
    }

    // Statuses: codes the register has already keep their own names.
    Insert status(QStringLiteral("INSERT IGNORE INTO statusz (statusz, statusz_nev, kesz, szin)"));
    for (const Status &st : statuses)
        status.add({num(st.code), txt(QString::fromUtf8(st.name)), flag(st.done),
                    txt(QString::fromLatin1(st.colour))});
    status.flush(c);
    s.statuses = int(c.affectedRows());
    const Dataset statusRows = c.query(QStringLiteral("SELECT statusz, statusz_nev FROM statusz"));
    for (int r = 0; r < statusRows.rowCount(); ++r)
        statusNames.insert(int(statusRows.toInt(r, 0)), statusRows.text(r, 1));

    // An organisation without a name gets one, so letterheads and envelopes show something.
    const Dataset owner = c.query(QStringLiteral("SELECT tulajdonos FROM tulajdonos"));
    const QString ownerSet = QStringLiteral(
        "tulajdonos = %1, telefon = %2, mobil = %3, fax = %4, irsz = %5, varos = %6, cim = %7, adoszam = %8, "
        "bankszamlaszam = %9, betujel = %10");
    const Client &unit = units.first();
    const Dataset address =
        c.query(QStringLiteral("SELECT irsz, varos, cim FROM ugyfel WHERE ugyfel = ") + num(unit.key));
    const QString set = ownerSet.arg(
        txt(QStringLiteral("Példaváros Polgármesteri Hivatala")), txt(QStringLiteral("06-1-555-1000")),
        txt(QStringLiteral("06-30-555-1000")), txt(QStringLiteral("06-1-555-1001")), txt(address.text(0, 0)),
        txt(address.text(0, 1)), txt(address.text(0, 2)), txt(QStringLiteral("15735000213")),
        txt(QStringLiteral("11742001-15735000")), txt(QStringLiteral("PH")));
    if (owner.isEmpty())
        c.exec(QStringLiteral("INSERT INTO tulajdonos SET ") + set);
    else if (owner.text(0, 0).trimmed().isEmpty())
        c.exec(QStringLiteral("UPDATE tulajdonos SET ") + set +
               QStringLiteral(" WHERE IFNULL(tulajdonos, '') = ''"));
}

namespace {

// A working day in [first, last] near the given one (weekends move to Friday or Monday).
QDate workday(QDate day, const QDate &first, const QDate &last)
{
    const int dow = day.dayOfWeek();
    if (dow >= 6) {
        const QDate friday = day.addDays(5 - dow), monday = day.addDays(8 - dow);
        if (friday >= first)
            day = friday;
        else if (monday <= last)
            day = monday;
    }
    return day;
}

QString fill(QString text, const QList<QPair<QString, QString>> &values)
{
    for (const auto &[placeholder, value] : values)
        text.replace(placeholder, value);
    return text;
}

} // namespace

// One document as drawn, before it becomes rows.
struct DemoData::Impl::Document
{
    int key = 0;
    QDate arrived;
    int age = 0; // days before today
    QDateTime registered;
    int direction = 0;
    int group = 0;
    int user = 0;
    int from = 0, to = 0, handler = 0;
    const Client *person = nullptr; // the colleague on the case
    QString subject;
    const Entry *project = nullptr, *work = nullptr, *type = nullptr, *other = nullptr;
    int serial = 0, mainNumber = 0, subNumber = 0;
    QString reference, place, remindText, lentTo, keyword, remark;
    QDate deadline, keepUntil, remindOn, lentOn;
    bool deleted = false, marked = false, lent = false;
    int status = -1; // none
};

void DemoData::Impl::addDocuments()
{
    const int total = o.documents;
    const QDate first(today.year() - o.years + 1, 1, 1);
    const int span = int(first.daysTo(today));
    std::vector<QDate> dates;
    dates.reserve(size_t(total));
    for (int i = 0; i < total; ++i)
        dates.push_back(workday(first.addDays(dice.below(span + 1)), first, today));
    std::sort(dates.begin(), dates.end());

    // A few reminders fall on today, among the recent documents.
    QSet<int> remindToday;
    const int todayCount = std::min(total, std::clamp(total / 1000, 3, 25));
    const int recent = std::max(todayCount, total / 4);
    while (remindToday.size() < todayCount)
        remindToday.insert(total - 1 - dice.below(recent));

    for (const Entry &g : groups)
        groupKeys << g.key;
    nextDocument = maxOf(QStringLiteral("iktato"), QStringLiteral("iktato")) + 1;
    nextFile = maxOf(QStringLiteral("iktato_file"), QStringLiteral("iktato_file")) + 1;
    for (int i = 0; i < total; ++i) {
        const Document doc = drawDocument(dates[size_t(i)], remindToday.contains(i));
        writeDocument(doc);
        writeHistory(doc);
        if (documents.rows() >= o.batchRows || i == total - 1) {
            transaction([this] {
                documents.flush(c);
                files.flush(c);
                copies.flush(c);
                journal.flush(c);
            });
            if (progress)
                progress(QStringLiteral("Dokumentumok"), i + 1, total);
        }
    }
}

DemoData::Impl::Document DemoData::Impl::drawDocument(const QDate &arrived, bool remindsToday)
{
    Document d;
    d.key = nextDocument++;
    d.arrived = arrived;
    d.age = int(arrived.daysTo(today));
    const int year = arrived.year();
    const int hour = dice.between(8, 15), minute = dice.below(60);
    d.registered = QDateTime(arrived, QTime(hour, minute, dice.below(60)));
    const int roll = dice.below(100);
    d.direction = roll < 55 ? 0 : roll < 90 ? 1 : 2;
    d.group = dice.pick(groupKeys);
    d.user = dice.pick(writers.value(d.group));

    // Who it comes from, goes to and who handles it; 0 is none, as sp_iktato stores it.
    const Client &partner = dice.pick(externals);
    d.person = &dice.pick(internals);
    const Client &unit = dice.pick(units);
    if (d.direction == 0) {
        d.from = partner.key;
        d.to = dice.chance(600) ? unit.key : d.person->key;
        d.handler = dice.chance(800) ? d.person->key : 0;
    } else if (d.direction == 1) {
        d.from = dice.chance(500) ? d.person->key : unit.key;
        d.to = partner.key;
        d.handler = dice.chance(500) ? d.person->key : 0;
    } else {
        d.from = dice.chance(600) ? d.person->key : 0;
        d.to = dice.chance(300) ? unit.key : 0;
        d.handler = dice.chance(300) ? d.person->key : 0;
    }

    // The subject, and the master data it speaks of.
    const Subject &subject = d.direction == 0 ? incomingSubjects[dice.below(int(std::size(incomingSubjects)))]
                             : d.direction == 1
                                 ? outgoingSubjects[dice.below(int(std::size(outgoingSubjects)))]
                                 : otherSubjects[dice.below(int(std::size(otherSubjects)))];
    const QString subjectText = QString::fromUtf8(subject.text);
    const bool namesProject = subjectText.contains(QLatin1String("{projekt}"));
    d.project = namesProject || dice.chance(300) ? &dice.pick(projectEntries) : nullptr;
    d.work = dice.chance(450) ? &dice.pick(workEntries) : nullptr;
    d.type = dice.chance(920) ? &typeEntries[subject.type] : nullptr;
    d.other = dice.chance(200) ? &dice.pick(otherEntries) : nullptr;
    const QDate mentioned = arrived.addDays(-dice.below(20));
    const QString town = QString::fromUtf8(postalCodes[dice.below(int(std::size(postalCodes)))].town);
    d.subject =
        fill(subjectText, {
                              {QStringLiteral("{projekt}"), d.project ? d.project->name : QString()},
                              {QStringLiteral("{partner}"), partner.name},
                              {QStringLiteral("{varos}"), town},
                              {QStringLiteral("{utca}"), address()},
                              {QStringLiteral("{ev}"), QString::number(mentioned.year())},
                              {QStringLiteral("{honap}"), monthList[mentioned.month() - 1]},
                              {QStringLiteral("{nap}"), QString::number(mentioned.day())},
                              {QStringLiteral("{szam}"), QString::number(dice.between(10, 9999))},
                              {QStringLiteral("{negyedev}"), QString::number((arrived.month() - 1) / 3 + 1)},
                          });

    // The serial number and, for most documents, a main number with its next sub-number.
    d.serial = ++serials[qMakePair(0, serialYearly ? year : 0)];
    if (dice.chance(600)) {
        d.mainNumber = dice.pick(mainByYear[year]);
        d.subNumber = ++subs[qMakePair(d.mainNumber, subYearly ? year : 0)];
    }
    if ((d.direction == 0 && dice.chance(700)) || (d.direction == 1 && dice.chance(300)))
        d.reference = referenceNumber(year);

    static const int deadlines[] = {8, 15, 30, 30, 30, 45, 60, 90};
    d.deadline = arrived.addDays(deadlines[dice.below(8)]);
    static const int keepYears[] = {2, 5, 15};
    d.keepUntil = dice.chance(800) ? arrived.addYears(10) : QDate(year + keepYears[dice.below(3)], 12, 31);
    d.place = dice.chance(700) ? dice.pick(storageList) : QString();
    d.deleted = !remindsToday && dice.chance(7);
    if (remindsToday)
        d.remindOn = today;
    else if (dice.chance(25))
        d.remindOn = arrived.addDays(dice.between(3, 45));
    if (d.remindOn.isValid())
        d.remindText = dice.pick(reminderList);
    d.marked = dice.chance(15);
    d.lent = !d.deleted && dice.chance(15);
    if (d.lent) {
        d.lentOn = arrived.addDays(dice.below(std::min(d.age, 120) + 1));
        d.lentTo = dice.chance(600) ? dice.pick(internals).name : personName();
    }
    // Old matters are mostly done; the newest ones may have no status yet.
    if (d.age > 7 || dice.chance(600)) {
        const bool done = d.age > 90 ? dice.chance(850) : dice.chance(250);
        d.status = done ? (d.age > 730 && dice.chance(100) ? 9 : dice.between(6, 8)) : dice.between(0, 5);
    }
    if (dice.chance(300))
        d.keyword = dice.pick(keywordList);
    if (dice.chance(200))
        d.remark = QString(dice.pick(remarkList)).replace(QStringLiteral("{ugyintezo}"), d.person->name);
    return d;
}

QString DemoData::Impl::referenceNumber(int year)
{
    const QString n = QString::number(dice.between(10, 9999)), y = QString::number(year);
    switch (dice.below(5)) {
    case 0:
        return n + QLatin1Char('/') + y;
    case 1:
        return QStringLiteral("%1-%2/%3").arg(QChar(u'A' + dice.below(26))).arg(n, y);
    case 2:
        return QStringLiteral("Ikt.sz.: %1-%2/%3").arg(n).arg(dice.between(1, 9)).arg(y);
    case 3:
        return y + QLatin1Char('/') + n;
    default:
        return QStringLiteral("SZ-%1-%2").arg(y).arg(dice.below(100000), 5, 10, QLatin1Char('0'));
    }
}

void DemoData::Impl::writeDocument(const Document &d)
{
    const QString none = QStringLiteral("NULL");
    auto key = [&none](const Entry *e) { return e ? num(e->key) : none; };
    // clang-format off
    documents.add({num(d.key), num(d.serial), num(d.mainNumber), d.subNumber > 0 ? num(d.subNumber) : none,
                   txt(d.subject), num(d.from), num(d.to), num(d.handler), txt(d.place), date(d.arrived),
                   date(d.deadline), date(d.keepUntil), txt(d.reference), flag(d.deleted), date(d.remindOn),
                   d.remindOn.isValid() ? txt(d.remindText) : none, flag(d.marked), key(d.project), key(d.work),
                   num(d.direction), key(d.type), num(d.group), num(d.user), flag(d.lent), date(d.lentOn),
                   txt(d.lentTo), d.status >= 0 ? num(d.status) : none, txt(d.keyword), txt(d.remark),
                   key(d.other)});
    // clang-format on
    ++s.documents;
    s.deleted += d.deleted;
    s.reminders += d.remindOn.isValid();
    s.remindersToday += d.remindOn == today;
    s.marked += d.marked;
    s.lent += d.lent;
}

void DemoData::Impl::writeHistory(const Document &d)
{
    auto journalRow = [&](const QDateTime &when, const QString &text) {
        journal.add(
            {num(d.key), num(d.user), stamp(when), text.isNull() ? QStringLiteral("NULL") : txt(text)});
        ++s.journalRows;
    };
    // The editor's change list on registering: the fields filled in, one per line.
    QString changes = QStringLiteral("targy = ") + d.subject + QStringLiteral("\r\n");
    auto line = [&changes](const char *column, const QString &value) {
        if (!value.isEmpty())
            changes += QLatin1String(column) + QStringLiteral(" = ") + value + QStringLiteral("\r\n");
    };
    line("hivszam", d.reference);
    line("tarolo", d.place);
    line("kulcsszavak", d.keyword);
    line("tipus", d.type ? d.type->name : QString());
    line("projekt", d.project ? d.project->name : QString());
    line("munkaszam", d.work ? d.work->name : QString());
    if (d.handler > 0)
        line("ugyf_intezkedesre", d.person->name);
    const QDateTime saved = d.registered.addSecs(dice.between(60, 300));
    journalRow(saved, changes);

    // Attachments: the storage name counts on from the document's previous attachment key.
    const int attachmentCount = dice.chance(300) ? (dice.chance(700) ? 1 : dice.chance(650) ? 2 : 3) : 0;
    int previousFile = 0;
    QString lastName;
    for (int a = 0; a < attachmentCount; ++a) {
        const int fileKey = nextFile++;
        const QString name =
            fill(dice.pick(fileNameList),
                 {
                     {QStringLiteral("{datum}"), d.arrived.toString(QStringLiteral("yyyyMMdd"))},
                     {QStringLiteral("{tipus}"), d.type ? d.type->name : QStringLiteral("irat")},
                     {QStringLiteral("{szam}"), QString::number(dice.between(100, 9999))},
                     {QStringLiteral("{ev}"), QString::number(d.arrived.year())},
                     {QStringLiteral("{n}"), QString::number(a + 1)},
                 });
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        const QString extension = dot > 0 ? name.mid(dot) : QString();
        const QString stored =
            QStringLiteral("%1-%2").arg(d.key, 7, 10, QLatin1Char('0')).arg(previousFile + 1) + extension;
        const QDateTime attached = saved.addSecs(dice.between(60, 1800));
        files.add({num(fileKey), num(d.key), txt(stored), txt(name), num(d.user), stamp(attached)});
        journalRow(attached, QStringLiteral("File csatolás = ") + name);
        previousFile = fileKey;
        lastName = name;
        ++s.attachments;
    }
    if (attachmentCount > 0 && dice.chance(100))
        journalRow(d.registered.addDays(std::min(d.age, dice.between(1, 30))),
                   QStringLiteral("Csatolt file megnyitás = ") + lastName);
    if (dice.chance(10))
        journalRow(d.registered.addSecs(dice.between(30, 300)),
                   QStringLiteral("Figyelmeztetés: Csoport módosítás, csatolt file probléma lehetséges."));
    // As sp_setstatusz journals a status change.
    if (d.status > 0)
        journalRow(d.registered.addDays(std::min(d.age, dice.between(1, 60))),
                   QStringLiteral("statusz = %1 (%2)").arg(statusNames.value(d.status)).arg(d.status));
    if (d.deleted)
        journalRow(d.registered.addDays(std::min(d.age, dice.between(1, 90))), QString());

    // Copies: outgoing letters to other partners and departments, incoming mail to departments.
    const int copyCount = d.direction == 1 && dice.chance(150)   ? dice.between(1, 3)
                          : d.direction == 0 && dice.chance(100) ? dice.between(1, 2)
                                                                 : 0;
    QList<int> copied;
    for (int k = 0; k < copyCount; ++k) {
        const int client =
            d.direction == 1 && dice.chance(500) ? dice.pick(externals).key : dice.pick(units).key;
        if (client == d.to || copied.contains(client))
            continue;
        copied << client;
        copies.add({num(d.key), num(client), stamp(d.registered.addSecs(dice.between(300, 7200)))});
        ++s.copies;
    }
}

void DemoData::Impl::updateCounters()
{
    // sp_iktato and sp_maxaz2 go on from these rows, so the next registered document gets a fresh number.
    Insert insert(QStringLiteral("INSERT INTO szamlalo (szamlalo, foszam, ev, ertek)"),
                  QStringLiteral(" ON DUPLICATE KEY UPDATE ertek = GREATEST(ertek, VALUES(ertek))"));
    for (auto it = serials.cbegin(); it != serials.cend(); ++it)
        insert.add({txt(QStringLiteral("iktato2")), num(0), num(it.key().second), num(it.value())});
    for (auto it = subs.cbegin(); it != subs.cend(); ++it)
        insert.add({txt(QStringLiteral("az2")), num(it.key().first), num(it.key().second), num(it.value())});
    insert.flush(c);
}
