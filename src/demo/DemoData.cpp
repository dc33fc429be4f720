#include "demo/DemoDataImpl.h"

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
    const int firstFile = c.selectValue(QStringLiteral("SELECT COALESCE(MAX(iktato_file), 0) + 1 FROM iktato_file"))
                              .toInt();
    addDocuments();
    updateCounters();
    markFilelessAttachments(firstFile);
    if (o.sampleFiles)
        addSampleFiles();
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
