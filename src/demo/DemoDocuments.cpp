// The documents of the demo register: drawn day by day, written in batches with their history.
#include "demo/DemoDataImpl.h"

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
