#include "core/TrailVerifier.h"

#include "db/Connection.h"
#include "db/Latin2.h"
#include "common/SqlText.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace TrailVerifier {

namespace {

const QString ZeroHash = QString(64, QLatin1Char('0'));
constexpr int Batch = 2000;

// Columns the triggers leave out: print marks are set and cleared over the whole register.
bool ignoredColumn(const QString &table, const QString &column)
{
    return table == QLatin1String("iktato") && column == QLatin1String("nyomtatni");
}

// The trail's JSON, read as bytes: each byte one character, so the text is kept exactly
// and both sides of a comparison are read the same way.
QJsonObject parseObject(QByteArrayView bytes)
{
    return QJsonDocument::fromJson(QString::fromLatin1(bytes).toUtf8()).object();
}

QString shown(const QJsonValue &v)
{
    if (v.isNull() || v.isUndefined())
        return QStringLiteral("NULL");
    if (v.isString())
        return QLatin1Char('"') + Latin2::decode(v.toString().toLatin1()) + QLatin1Char('"');
    return QString::number(v.toDouble(), 'g', 17);
}

QString subject(const QString &table, qint64 key)
{
    return table == QLatin1String("iktato") ? QStringLiteral("a(z) %1. irat").arg(key)
                                             : QStringLiteral("a(z) %1. csatolt fájl").arg(key);
}

QString capitalized(QString s)
{
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

// A query read a batch at a time, so two of them can be walked side by side.
class Cursor
{
public:
    Cursor(Connection &c, const QString &sql) : m_c(c) { m_c.beginStream(sql, m_rows); }
    ~Cursor()
    {
        if (!m_ended)
            m_c.abandonStream();
    }
    Cursor(const Cursor &) = delete;
    Cursor &operator=(const Cursor &) = delete;

    // Moves to the next row; false at the end.
    bool next()
    {
        if (++m_pos < m_rows.rowCount())
            return true;
        if (m_ended)
            return false;
        m_rows.clear();
        m_pos = 0;
        m_ended = !m_c.streamRows(m_rows, Batch);
        return m_rows.rowCount() > 0;
    }
    qint64 toInt(int col) const { return m_rows.toInt(m_pos, col); }
    QByteArrayView raw(int col) const { return m_rows.raw(m_pos, col); }

private:
    Connection &m_c;
    Dataset m_rows;
    int m_pos = -1;
    bool m_ended = false;
};

// What the trail says a row holds.
struct RowState
{
    bool exists = false;
    QJsonObject values;
    QHash<QString, qint64> setBy; // column -> the trail row that gave its value
    qint64 deletedBy = 0;
};

struct Replay
{
    QString table;
    QString problem;

    // Applies one trail row; false (problem set) when it does not follow from the rows before.
    bool apply(RowState &s, qint64 key, qint64 sorszam, QChar muvelet, const QJsonObject &change)
    {
        if (muvelet == QLatin1Char('U') || muvelet == QLatin1Char('D')) {
            if (!s.exists) {
                problem = QStringLiteral("A nyom %1. sora %2 változását jegyzi, de az a nyom szerint nem "
                                         "létezett.")
                              .arg(sorszam)
                              .arg(subject(table, key));
                return false;
            }
            for (auto it = change.begin(); it != change.end(); ++it) {
                const QJsonValue old = it.value().toArray().at(0);
                if (s.values.contains(it.key()) && s.values.value(it.key()) != old) {
                    problem = QStringLiteral("A nyom %1. sora szerint %2 %3 mezője %4 volt, de a nyom előző "
                                             "sorai szerint %5: a kettő között a nyom nélkül változott.")
                                  .arg(sorszam)
                                  .arg(subject(table, key), it.key(), shown(old),
                                       shown(s.values.value(it.key())));
                    return false;
                }
            }
        } else if (s.exists) {
            problem = QStringLiteral("A nyom %1. sora újként jegyzi %2 sort, de az már létezett.")
                          .arg(sorszam)
                          .arg(subject(table, key));
            return false;
        }
        if (muvelet == QLatin1Char('D')) {
            s = RowState();
            s.deletedBy = sorszam;
            return true;
        }
        if (muvelet != QLatin1Char('U'))
            s = RowState();
        s.exists = true;
        for (auto it = change.begin(); it != change.end(); ++it) {
            s.values.insert(it.key(), it.value().toArray().at(1));
            s.setBy.insert(it.key(), sorszam);
        }
        return true;
    }

    // Compares the row as it is with what the trail says; false (problem set) on a difference.
    bool compare(const RowState &s, qint64 key, const QJsonObject *current)
    {
        if (!current) {
            if (s.exists)
                problem = capitalized(QStringLiteral("%1 hiányzik, pedig a nyom szerint létezik "
                                                     "(a nyom %2. sora óta).")
                                          .arg(subject(table, key))
                                          .arg(s.setBy.value(table)));
            return !s.exists;
        }
        if (!s.exists) {
            problem = capitalized(
                QStringLiteral("%1 létezik, de a nyom nem tud róla%2.")
                    .arg(subject(table, key),
                         s.deletedBy == 0 ? QString()
                                          : QStringLiteral(" (a nyom szerint törölték, a nyom %1. sora)").arg(s.deletedBy)));
            return false;
        }
        for (auto it = current->begin(); it != current->end(); ++it) {
            if (!s.values.contains(it.key())) {
                problem = capitalized(QStringLiteral("%1 %2 mezőjének értékét a nyom nem ismeri (%3).")
                                          .arg(subject(table, key), it.key(), shown(it.value())));
                return false;
            }
            if (s.values.value(it.key()) != it.value()) {
                problem = capitalized(QStringLiteral("%1 %2 mezője %3, de a nyom szerint %4 (a nyom %5. sora).")
                                          .arg(subject(table, key), it.key(), shown(it.value()),
                                               shown(s.values.value(it.key())))
                                          .arg(s.setBy.value(it.key())));
                return false;
            }
        }
        for (auto it = s.values.begin(); it != s.values.end(); ++it) {
            if (!current->contains(it.key())) {
                problem = capitalized(QStringLiteral("%1 %2 mezője hiányzik a táblából, pedig a nyom számon tartja.")
                                          .arg(subject(table, key), it.key()));
                return false;
            }
        }
        return true;
    }
};

QString jsonValueOf(const QString &column, const QString &dataType)
{
    static const QStringList numeric{QStringLiteral("int"),     QStringLiteral("bigint"),
                                     QStringLiteral("smallint"), QStringLiteral("tinyint"),
                                     QStringLiteral("mediumint"), QStringLiteral("decimal"),
                                     QStringLiteral("double"),   QStringLiteral("float")};
    static const QStringList temporal{QStringLiteral("date"), QStringLiteral("datetime"),
                                      QStringLiteral("timestamp"), QStringLiteral("time")};
    const QString ref = QLatin1Char('`') + column + QLatin1Char('`');
    if (numeric.contains(dataType))
        return QStringLiteral("IFNULL(CAST(%1 AS CHAR CHARACTER SET utf8mb4) COLLATE utf8mb4_bin, 'null')").arg(ref);
    if (temporal.contains(dataType))
        return QStringLiteral("IFNULL(JSON_QUOTE(CAST(%1 AS CHAR)), 'null')").arg(ref);
    return QStringLiteral("IFNULL(JSON_QUOTE(%1), 'null')").arg(ref);
}

// Each row of the table as a JSON object of its columns, in the triggers' text form.
QString rowsQuery(Connection &c, const QString &table)
{
    const Dataset cols = c.query(QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE FROM information_schema.COLUMNS "
                                                "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = %1 "
                                                "ORDER BY ORDINAL_POSITION")
                                     .arg(SqlLiteral(table)));
    QStringList parts;
    for (int r = 0; r < cols.rowCount(); ++r) {
        const QString column = cols.text(r, 0).toLower();
        if (ignoredColumn(table, column))
            continue;
        parts << QStringLiteral("CONCAT('\"%1\":', %2)").arg(column, jsonValueOf(column, cols.text(r, 1).toLower()));
    }
    return QStringLiteral("SELECT `%1`, CONCAT('{', CONCAT_WS(',', %2), '}') FROM `%1` ORDER BY `%1`")
        .arg(table, parts.join(QStringLiteral(", ")));
}

bool replayTable(Connection &trail, Connection &rows, const QString &table, QString &problem)
{
    Replay replay{table, {}};
    Cursor history(trail, QStringLiteral("SELECT kulcs, sorszam, muvelet, valtozas FROM iktato_nyom "
                                         "WHERE tabla = %1 ORDER BY kulcs, sorszam")
                              .arg(SqlLiteral(table)));
    Cursor current(rows, rowsQuery(rows, table));
    bool haveHistory = history.next();
    bool haveRow = current.next();
    while (haveHistory || haveRow) {
        const qint64 historyKey = haveHistory ? history.toInt(0) : std::numeric_limits<qint64>::max();
        const qint64 rowKey = haveRow ? current.toInt(0) : std::numeric_limits<qint64>::max();
        const qint64 key = std::min(historyKey, rowKey);
        RowState state;
        while (haveHistory && history.toInt(0) == key) {
            const QByteArrayView op = history.raw(2);
            const QChar muvelet = op.isEmpty() ? QChar() : QChar::fromLatin1(op.at(0));
            if (!replay.apply(state, key, history.toInt(1), muvelet, parseObject(history.raw(3)))) {
                problem = replay.problem;
                return false;
            }
            haveHistory = history.next();
        }
        bool same;
        if (rowKey == key) {
            const QJsonObject values = parseObject(current.raw(1));
            same = replay.compare(state, key, &values);
            haveRow = current.next();
        } else {
            same = replay.compare(state, key, nullptr);
        }
        if (!same) {
            problem = replay.problem;
            return false;
        }
    }
    return true;
}

struct ChainHead
{
    bool present = false;
    Head head;
};

ChainHead readHead(Connection &c)
{
    const Dataset d = c.query(QStringLiteral("SELECT darab, hash FROM iktato_nyom_fej WHERE azon = 1"));
    ChainHead h;
    if (d.rowCount() > 0) {
        h.present = true;
        h.head.count = d.toInt(0, 0);
        h.head.hash = d.text(0, 1);
    }
    return h;
}

// The first row that does not follow from the one before, or an empty problem.
QString chainProblem(Connection &c, const Head &head)
{
    const Dataset first = c.query(
        QStringLiteral("SELECT sorszam, elozo_sorszam, BINARY hash = BINARY szamolt, "
                       "BINARY elozo = BINARY elozo_hash FROM ("
                       "SELECT sorszam, elozo, hash, szamolt, "
                       "IFNULL(LAG(sorszam, 1) OVER (ORDER BY sorszam), 0) AS elozo_sorszam, "
                       "IFNULL(LAG(hash, 1) OVER (ORDER BY sorszam), '%1') AS elozo_hash "
                       "FROM (SELECT sorszam, elozo, hash, %2 AS szamolt FROM iktato_nyom) h) w "
                       "WHERE sorszam <> elozo_sorszam + 1 OR NOT (BINARY hash = BINARY szamolt) "
                       "OR NOT (BINARY elozo = BINARY elozo_hash) ORDER BY sorszam LIMIT 1")
            .arg(ZeroHash, hashExpression()));
    const Dataset stats = c.query(QStringLiteral("SELECT IFNULL(MAX(sorszam), 0) FROM iktato_nyom"));
    const qint64 last = stats.toInt(0, 0);

    if (first.rowCount() > 0 && first.toInt(0, 0) <= head.count) {
        const qint64 sorszam = first.toInt(0, 0);
        const qint64 before = first.toInt(0, 1);
        if (sorszam > before + 1)
            return sorszam == before + 2
                       ? QStringLiteral("Hiányzik a nyom %1. sora (törölték).").arg(before + 1)
                       : QStringLiteral("Hiányzik a nyom %1–%2. sora (törölték).").arg(before + 1).arg(sorszam - 1);
        if (first.toInt(0, 2) == 0)
            return QStringLiteral("A nyom %1. sora megváltozott: a tartalma nem egyezik a hash-ével.").arg(sorszam);
        return QStringLiteral("A nyom %1. sora nem az előző sorhoz kapcsolódik (más az előző sor hash-e): "
                              "beszúrt vagy kicserélt sor.")
            .arg(sorszam);
    }
    if (last > head.count) {
        const qint64 inserted =
            c.selectValue(QStringLiteral("SELECT MIN(sorszam) FROM iktato_nyom WHERE sorszam > %1")
                              .arg(head.count))
                .toLongLong();
        return QStringLiteral("A nyom %1. sora beszúrt sor: a lánc feje csak %2 sort tart számon.")
            .arg(inserted)
            .arg(head.count);
    }
    if (last < head.count)
        return QStringLiteral("Hiányzik a nyom %1. sora (törölték): a lánc feje %2 sort tart számon, a nyom "
                              "csak %3 sorig tart.")
            .arg(last + 1)
            .arg(head.count)
            .arg(last);
    const QString lastHash =
        head.count == 0
            ? ZeroHash
            : c.selectValue(QStringLiteral("SELECT hash FROM iktato_nyom WHERE sorszam = %1").arg(head.count))
                  .toString();
    if (lastHash != head.hash)
        return QStringLiteral("A lánc feje (iktato_nyom_fej) nem egyezik a nyom utolsó (%1.) sorával.")
            .arg(head.count);
    return {};
}

QString expectedHeadProblem(Connection &c, const Head &current, const Head &expected)
{
    if (expected.count > current.count)
        return QStringLiteral("A megadott fej %1 sort tart számon, a nyom most csak %2 sorból áll: a nyom "
                              "sorai elvesztek, vagy a nyomot újraírták.")
            .arg(expected.count)
            .arg(current.count);
    const QString hash =
        expected.count == 0
            ? ZeroHash
            : c.selectValue(QStringLiteral("SELECT hash FROM iktato_nyom WHERE sorszam = %1").arg(expected.count))
                  .toString();
    if (hash.compare(expected.hash, Qt::CaseInsensitive) != 0)
        return QStringLiteral("A nyom %1. sora nem az, amit a megadott fej rögzített: a nyomot addig a sorig "
                              "újraírták.")
            .arg(expected.count);
    return {};
}

// Both connections see the same moment: every change to the two tables moves the head,
// so two snapshots that see the same head see the same rows.
bool beginSameSnapshot(Connection &trail, Connection &rows)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        trail.exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY"));
        rows.exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY"));
        const QString sql = QStringLiteral("SELECT CONCAT(darab, ':', hash) FROM iktato_nyom_fej WHERE azon = 1");
        if (trail.selectValue(sql) == rows.selectValue(sql))
            return true;
        trail.exec(QStringLiteral("ROLLBACK"));
        rows.exec(QStringLiteral("ROLLBACK"));
    }
    return false;
}

} // namespace

bool parseHead(const QString &text, Head &head)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,18}):([0-9a-fA-F]{64})\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    head.count = m.captured(1).toLongLong();
    head.hash = m.captured(2).toLower();
    return true;
}

QString headText(const Head &head)
{
    return QString::number(head.count) + QLatin1Char(':') + head.hash;
}

QString hashExpression()
{
    return QStringLiteral("SHA2(CONVERT(CONCAT_WS('|', elozo, sorszam, tabla, muvelet, iktato, kulcs, "
                          "DATE_FORMAT(ido, '%Y-%m-%d %H:%i:%s.%f'), CHAR_LENGTH(fiok), fiok, "
                          "IFNULL(felhkod, 'NULL'), valtozas) USING utf8mb4), 256)");
}

Result verify(Connection &trail, Connection &rows, const Head *expected)
{
    Result result;
    if (!beginSameSnapshot(trail, rows)) {
        result.problem = QStringLiteral("A nyilvántartás folyamatosan változik; az ellenőrzés nem kapott egy "
                                        "időpontra vonatkozó képet. Próbálja újra csendesebb időben.");
        return result;
    }
    struct End
    {
        Connection &a, &b;
        ~End()
        {
            for (Connection *c : {&a, &b}) {
                try {
                    c->exec(QStringLiteral("ROLLBACK"));
                } catch (...) {
                    // read only: nothing is lost with the link
                }
            }
        }
    } end{trail, rows};

    const ChainHead head = readHead(trail);
    if (!head.present) {
        result.problem = QStringLiteral("Hiányzik a lánc feje (az iktato_nyom_fej tábla sora).");
        return result;
    }
    result.problem = chainProblem(trail, head.head);
    if (result.problem.isEmpty() && expected)
        result.problem = expectedHeadProblem(trail, head.head, *expected);
    if (result.problem.isEmpty()) {
        for (const QString &table : {QStringLiteral("iktato"), QStringLiteral("iktato_file")}) {
            if (!replayTable(trail, rows, table, result.problem))
                break;
        }
    }
    result.ok = result.problem.isEmpty();
    if (result.ok)
        result.head = head.head;
    return result;
}

} // namespace TrailVerifier
