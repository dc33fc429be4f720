#include "register/DocumentEdit.h"

#include "common/Numbers.h"
#include "common/Text.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "db/DbHelpers.h"
#include "db/Latin2.h"
#include "db/UnitOfWork.h"
#include "register/Journal.h"

namespace {

const QString Table = QStringLiteral("iktato");
const QStringList NameColumns = {QStringLiteral("projekt_nev"), QStringLiteral("munkaszam_nev"),
                                 QStringLiteral("tipus_nev"), QStringLiteral("egyebcsop_nev")};

} // namespace

namespace DocumentRegistration {

std::optional<ClientKinds> questionKinds(int directionView)
{
    switch (directionView) {
    case 0:
        return ClientKinds{ClientKind::External, ClientKind::Internal};
    case 1:
        return ClientKinds{ClientKind::Internal, ClientKind::External};
    case 2:
        return std::nullopt;
    default:
        return ClientKinds{ClientKind::All, ClientKind::All};
    }
}

ClientKinds editorKinds(int direction)
{
    switch (direction) {
    case 0:
        return {ClientKind::External, ClientKind::Internal};
    case 1:
        return {ClientKind::Internal, ClientKind::External};
    default:
        return {ClientKind::All, ClientKind::All};
    }
}

std::optional<NewDocumentAnswers> ask(const ProgramSettings &settings, int directionView,
                                      const RegistrationQuestions &questions)
{
    NewDocumentAnswers a;
    if (settings.vancsoport) {
        a.group = questions.group();
        if (a.group == -1)
            return std::nullopt;
    } else {
        a.group = settings.alapcsoport;
    }

    if (const auto kinds = questionKinds(directionView)) {
        a.clientFrom = questions.client(kinds->from, QStringLiteral("Kitől"));
        if (a.clientFrom == -1)
            return std::nullopt;
        a.clientTo = questions.client(kinds->to, QStringLiteral("Kinek"));
        if (a.clientTo == -1)
            return std::nullopt;
    }

    if (settings.vanfoszam) {
        a.mainNumber = questions.mainNumber();
        if (a.mainNumber == -1)
            return std::nullopt;
    }
    if (settings.foszamsorszam)
        a.mainNumber = MaxId(QStringLiteral("az1"), Table);

    const struct
    {
        bool asked;
        MasterTable::Caller caller;
        std::optional<DocumentChoice> NewDocumentAnswers::*answer;
    } masters[] = {
        {settings.vantipuskerdes, MasterTable::Caller::NewDocumentType, &NewDocumentAnswers::type},
        {settings.vanmunkaszamkerdes, MasterTable::Caller::NewDocumentWorkNumber, &NewDocumentAnswers::workNumber},
        {settings.vanprojektkerdes, MasterTable::Caller::NewDocumentProject, &NewDocumentAnswers::project},
    };
    for (const auto &m : masters) {
        if (!m.asked)
            continue;
        const DocumentChoice choice = questions.masterData(m.caller);
        if (!choice.picked())
            return std::nullopt;
        a.*m.answer = choice;
    }
    return a;
}

} // namespace DocumentRegistration

// ---- loading

DocumentEdit DocumentEdit::create(const NewDocumentAnswers &answers, int directionView, int userKey)
{
    // sp_iktato numbers and inserts the document in the unit's transaction: the COMMIT that
    // a cluster may fail for another node's registration is then ours, not the routine's.
    Dataset row;
    RunUnit([&] {
        row = db().call(QStringLiteral("sp_iktato"), {-1, answers.group, directionView, answers.clientFrom,
                                                     answers.clientTo, answers.mainNumber, userKey});
    });
    DocumentEdit edit;
    edit.load(row);
    const struct
    {
        const std::optional<DocumentChoice> &answer;
        const char *column;
    } chosen[] = {{answers.type, "tipus"}, {answers.workNumber, "munkaszam"}, {answers.project, "projekt"}};
    for (const auto &c : chosen) {
        if (!c.answer)
            continue;
        const QString column = QLatin1String(c.column);
        edit.m_record.setValue(column, c.answer->key);
        edit.m_record.setValue(QString(column + QStringLiteral("_nev")), c.answer->name);
    }
    return edit;
}

DocumentEdit DocumentEdit::open(qint64 key)
{
    Dataset row;
    RunUnit([&] {
        row = db().call(QStringLiteral("sp_iktato"),
                        {key, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    }, UnitKind::Routine);
    DocumentEdit edit;
    edit.load(row);
    return edit;
}

void DocumentEdit::load(const Dataset &row)
{
    if (row.rowCount() < 1)
        throw KorvenaError(QStringLiteral("A dokumentum nem található."));
    m_record = EditRecord::fromDataset(row, 0);
    for (EditField &f : m_record.fields())
        if (NameColumns.contains(f.name, Qt::CaseInsensitive))
            f.inTable = false;
    m_key = VarToInt(m_record.value(u"iktato"), -1);
    m_original = m_record;
}

// ---- change list

void DocumentEdit::addChange(const QString &column, const QString &value)
{
    m_changes << column + QStringLiteral(" = ") + value;
}

void DocumentEdit::setPending(const QString &column, const QString &text)
{
    m_pending = column + QStringLiteral(" = ") + text;
}

void DocumentEdit::flushPending()
{
    if (!m_pending.isEmpty())
        m_changes << m_pending;
    m_pending.clear();
}

QString DocumentEdit::journalText() const
{
    QString text;
    for (const QString &line : m_changes)
        text += line + QStringLiteral("\r\n");
    return text;
}

// ---- edits

void DocumentEdit::setNumberText(const QString &column, const QString &text)
{
    const QString number = NumericFilter(text);
    if (number.isEmpty()) {
        m_record.setValue(column, QVariant());
        return;
    }
    const QVariant value = TextToInt(number);
    if (VarToText(m_record.value(column)) != value.toString())
        m_record.setValue(column, value);
}

void DocumentEdit::choose(const QString &column, int key, const QString &name, const QString &nameColumn)
{
    m_record.setValue(column, key);
    if (!nameColumn.isEmpty())
        m_record.setValue(nameColumn, name);
    addChange(column, name);
}

void DocumentEdit::changeGroup(int group, const QString &name)
{
    Journal::write(m_key, groupChangeWarning());
    m_record.setValue(u"csoport", group);
    addChange(QStringLiteral("csoport"), name);
}

int DocumentEdit::nextSubNumber(int mainNumber)
{
    // The routine moves the main number's counter on.
    Dataset row;
    RunUnit([&] { row = db().call(QStringLiteral("sp_maxaz2"), {mainNumber}); }, UnitKind::Routine);
    return row.rowCount() > 0 ? int(row.toInt(0, row.requireField(u"maxaz2"))) : 0;
}

// ---- closing

QStringList DocumentEdit::changedColumns() const
{
    return m_record.changedFrom(m_original);
}

QString DocumentEdit::updateStatement() const
{
    return BuildUpdateStatement(m_record, Table, QStringLiteral("iktato"), m_key, changedColumns());
}

QString DocumentEdit::refusal() const
{
    const ProgramSettings &s = session().settings;
    const QList<std::pair<QString, QString>> captions = {
        {QStringLiteral("targy"), QStringLiteral("Tárgy")},
        {QStringLiteral("tarolo"), s.mezo5},
        {QStringLiteral("hivszam"), s.mezo4},
        {QStringLiteral("kulcsszavak"), QStringLiteral("Kulcsszavak (kereséshez)")},
        {QStringLiteral("megjegyzes"), QStringLiteral("Megjegyzés")},
    };
    for (const auto &[column, caption] : captions) {
        if (!m_record.has(column))
            continue;
        const QString bad = Latin2::firstUnencodable(VarToText(m_record.value(column)));
        if (!bad.isEmpty())
            return QStringLiteral("A(z) „%1” mező olyan karaktert tartalmaz (%2), amelyet a nyilvántartás "
                                  "nem tud tárolni. Kérem, cserélje le!")
                .arg(caption, bad);
    }
    if (m_record.has(u"dat_erk") && m_record.isNull(u"dat_erk"))
        return QStringLiteral("Add meg a beérkezés dátumát!");
    return {};
}

void DocumentEdit::save()
{
    const QString update = updateStatement();
    const QString text = journalText();
    RunUnit([&] {
        ExecSql(update);
        Journal::write(m_key, text);
    });
}

void DocumentEdit::remove(qint64 key)
{
    RunUnit([&] {
        ExecSql(QStringLiteral("UPDATE iktato SET torolve='I' WHERE iktato=") + QString::number(key) +
                QLatin1Char(';'));
        Journal::writeWithoutText(key);
    });
}
