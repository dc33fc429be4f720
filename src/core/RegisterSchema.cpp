#include "core/RegisterSchema.h"

#include "db/Connection.h"
#include "db/SqlScript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>

namespace RegisterSchema {

namespace {

QString quotedName(const QString &database)
{
    return QLatin1Char('`') + database + QLatin1Char('`');
}

// The name goes into SQL text as is (in backquotes and quotes), so it is checked first.
bool validDatabaseName(const QString &database)
{
    if (database.isEmpty() || database.size() > 64)
        return false;
    for (QChar c : database) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                        u == '_' || u == '$';
        if (!ok)
            return false;
    }
    return true;
}

QString readScript(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw KorvenaError(QStringLiteral("Nem olvasható a nyilvántartás leíró fájlja: %1 (%2)")
                               .arg(QDir::toNativeSeparators(path), f.errorString()));
    return QString::fromUtf8(f.readAll());
}

QStringList column(Connection &connection, const QString &sql)
{
    const Dataset d = connection.query(sql);
    QStringList values;
    values.reserve(d.rowCount());
    for (int r = 0; r < d.rowCount(); ++r)
        values << d.text(r, 0).toLower();
    return values;
}

struct Catalogue
{
    QStringList tables;
    QStringList columns;
    QStringList views;
    QStringList viewColumns;
    QStringList routines;
    QStringList tablesWithoutPrimaryKey;
    QStringList fulltextKeys;
    QHash<QString, QString> triggers; // name -> body
    QHash<QString, QString> trailRoutines; // "PROCEDURE sp_nyom_ir" -> body
};

Catalogue readCatalogue(Connection &connection, const QString &database)
{
    const QString schema = QLatin1Char('\'') + database + QLatin1Char('\'');
    Catalogue c;
    c.tables = column(connection, QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                                                 "TABLE_SCHEMA = %1 AND TABLE_TYPE = 'BASE TABLE' ORDER BY 1")
                                      .arg(schema));
    c.views = column(connection, QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                                                "TABLE_SCHEMA = %1 AND TABLE_TYPE = 'VIEW' ORDER BY 1")
                                     .arg(schema));
    const QString columnsOf = QStringLiteral(
        "SELECT CONCAT(c.TABLE_NAME, '.', c.COLUMN_NAME) FROM information_schema.COLUMNS c "
        "JOIN information_schema.TABLES t ON t.TABLE_SCHEMA = c.TABLE_SCHEMA AND t.TABLE_NAME = c.TABLE_NAME "
        "WHERE c.TABLE_SCHEMA = %1 AND t.TABLE_TYPE = '%2' ORDER BY c.TABLE_NAME, c.ORDINAL_POSITION");
    c.columns = column(connection, columnsOf.arg(schema, QStringLiteral("BASE TABLE")));
    c.viewColumns = column(connection, columnsOf.arg(schema, QStringLiteral("VIEW")));
    c.routines = column(connection, QStringLiteral("SELECT CONCAT(ROUTINE_TYPE, ' ', ROUTINE_NAME) FROM "
                                                   "information_schema.ROUTINES WHERE ROUTINE_SCHEMA = %1 "
                                                   "ORDER BY 1")
                                        .arg(schema));
    c.tablesWithoutPrimaryKey = column(
        connection, QStringLiteral("SELECT t.TABLE_NAME FROM information_schema.TABLES t "
                                   "WHERE t.TABLE_SCHEMA = %1 AND t.TABLE_TYPE = 'BASE TABLE' "
                                   "AND NOT EXISTS (SELECT 1 FROM information_schema.TABLE_CONSTRAINTS k "
                                   "WHERE k.TABLE_SCHEMA = t.TABLE_SCHEMA AND k.TABLE_NAME = t.TABLE_NAME "
                                   "AND k.CONSTRAINT_TYPE = 'PRIMARY KEY') ORDER BY 1")
                        .arg(schema));
    // By their columns, not their names: a key made by hand under another name serves as well.
    c.fulltextKeys = column(
        connection, QStringLiteral("SELECT CONCAT(TABLE_NAME, '(', GROUP_CONCAT(COLUMN_NAME ORDER BY SEQ_IN_INDEX "
                                   "SEPARATOR ', '), ')') FROM information_schema.STATISTICS "
                                   "WHERE TABLE_SCHEMA = %1 AND INDEX_TYPE = 'FULLTEXT' "
                                   "GROUP BY TABLE_NAME, INDEX_NAME ORDER BY 1")
                        .arg(schema));
    const Dataset triggers = connection.query(
        QStringLiteral("SELECT TRIGGER_NAME, ACTION_STATEMENT FROM information_schema.TRIGGERS "
                       "WHERE TRIGGER_SCHEMA = %1")
            .arg(schema));
    for (int r = 0; r < triggers.rowCount(); ++r)
        c.triggers.insert(triggers.text(r, 0).toLower(), triggers.text(r, 1));
    // What the trail's triggers call is as much part of them as their own bodies.
    const Dataset trail = connection.query(
        QStringLiteral("SELECT CONCAT(ROUTINE_TYPE, ' ', ROUTINE_NAME), ROUTINE_DEFINITION FROM "
                       "information_schema.ROUTINES WHERE ROUTINE_SCHEMA = %1 AND ROUTINE_NAME = 'sp_nyom_ir'")
            .arg(schema));
    for (int r = 0; r < trail.rowCount(); ++r)
        c.trailRoutines.insert(trail.text(r, 0), trail.text(r, 1));
    // Routine types come back upper case; keep them so ("PROCEDURE sp_x").
    for (QString &r : c.routines) {
        const qsizetype blank = r.indexOf(QLatin1Char(' '));
        r = r.left(blank).toUpper() + r.mid(blank);
    }
    return c;
}

QStringList missing(const QStringList &wanted, const QStringList &present)
{
    const QSet<QString> have(present.begin(), present.end());
    QStringList result;
    for (const QString &w : wanted) {
        if (!have.contains(w))
            result << w;
    }
    return result;
}

bool databaseExists(Connection &connection, const QString &database)
{
    return connection
               .selectValue(
                   QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = '%1'")
                       .arg(database))
               .toInt() > 0;
}

// After check() the connection works in the database it was opened on again.
class DatabaseRestorer
{
public:
    explicit DatabaseRestorer(Connection &c) : m_connection(c) {}
    ~DatabaseRestorer()
    {
        const QString db = m_connection.params().database;
        if (db.isEmpty() || !validDatabaseName(db))
            return;
        try {
            m_connection.exec(QStringLiteral("USE ") + quotedName(db));
        } catch (...) {
            // the database may be gone; the caller learns that from its next statement
        }
    }

private:
    Connection &m_connection;
};

} // namespace

QString serverDir()
{
    const QString fromEnvironment = qEnvironmentVariable("KORVENA_SERVER_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(":/server") : fromEnvironment;
}

QStringList scriptFiles()
{
    // The views call fn_iktatoaz, so the routines come before them.
    const QDir dir(serverDir());
    return {dir.filePath(QStringLiteral("schema.sql")), dir.filePath(QStringLiteral("routines.sql")),
            dir.filePath(QStringLiteral("views.sql")),
            // The trail's triggers are in place before the first document row is written.
            dir.filePath(QStringLiteral("trail.sql")), dir.filePath(QStringLiteral("initial.sql"))};
}

void checkDatabaseName(const QString &database)
{
    if (!validDatabaseName(database))
        throw KorvenaError(
            QStringLiteral("Érvénytelen adatbázisnév: \"%1\". A név 1–64 karakter lehet, és csak "
                           "betűt (a–z, A–Z), számjegyet, _ és $ jelet tartalmazhat.")
                .arg(database));
}

void install(Connection &connection, const QString &database)
{
    checkDatabaseName(database);
    // Every script is read before anything is created, so a missing file leaves no half register.
    QList<QStringList> scripts;
    for (const QString &file : scriptFiles())
        scripts << SqlScript::split(readScript(file));

    if (databaseExists(connection, database))
        throw KorvenaError(QStringLiteral("Az adatbázis már létezik: ") + database);
    connection.exec(QStringLiteral("CREATE DATABASE ") + quotedName(database) +
                    QStringLiteral(" CHARACTER SET latin2 COLLATE latin2_hungarian_ci"));
    try {
        connection.exec(QStringLiteral("USE ") + quotedName(database));
        for (const QStringList &statements : scripts) {
            for (const QString &statement : statements)
                connection.exec(statement);
        }
    } catch (...) {
        // A register that stopped half way is of no use; created here, so removed here.
        try {
            connection.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + quotedName(database));
        } catch (...) {
        }
        throw;
    }
}

CheckReport check(Connection &connection, const QString &database)
{
    checkDatabaseName(database);
    if (!databaseExists(connection, database))
        throw KorvenaError(QStringLiteral("Az adatbázis nem létezik: ") + database);

    DatabaseRestorer restorer(connection);
    QString scratch;
    do {
        scratch =
            QStringLiteral("korvena_minta_%1").arg(QRandomGenerator::global()->bounded(1000000000));
    } while (databaseExists(connection, scratch));

    Catalogue reference;
    install(connection, scratch);
    try {
        reference = readCatalogue(connection, scratch);
    } catch (...) {
        try {
            connection.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + quotedName(scratch));
        } catch (...) {
        }
        throw;
    }
    connection.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + quotedName(scratch));

    const Catalogue live = readCatalogue(connection, database);
    CheckReport report;
    report.missingTables = missing(reference.tables, live.tables);
    report.missingViews = missing(reference.views, live.views);
    report.missingRoutines = missing(reference.routines, live.routines);
    // The catalogue lists no columns for a view that no longer compiles; say so
    // instead of calling every one of its columns missing.
    for (const QString &view : reference.views) {
        if (!live.views.contains(view))
            continue;
        try {
            connection.query(
                QStringLiteral("SELECT * FROM %1.%2 LIMIT 0").arg(quotedName(database), quotedName(view)));
        } catch (const DbError &) {
            report.invalidViews << view;
        }
    }
    // A missing table or view is reported once, not once per column.
    const QSet<QString> absent(report.missingTables.begin(), report.missingTables.end());
    QSet<QString> absentViews(report.missingViews.begin(), report.missingViews.end());
    absentViews.unite(QSet<QString>(report.invalidViews.begin(), report.invalidViews.end()));
    for (const QString &c : missing(reference.columns, live.columns)) {
        if (!absent.contains(c.section(QLatin1Char('.'), 0, 0)))
            report.missingColumns << c;
    }
    for (const QString &c : missing(reference.viewColumns, live.viewColumns)) {
        if (!absentViews.contains(c.section(QLatin1Char('.'), 0, 0)))
            report.missingViewColumns << c;
    }
    report.tablesWithoutPrimaryKey = live.tablesWithoutPrimaryKey;
    for (const QString &k : missing(reference.fulltextKeys, live.fulltextKeys)) {
        if (!absent.contains(k.section(QLatin1Char('('), 0, 0)))
            report.missingFulltextKeys << k;
    }
    QStringList triggerNames = reference.triggers.keys();
    triggerNames.sort();
    for (const QString &name : triggerNames) {
        if (!live.triggers.contains(name))
            report.missingTriggers << name;
        else if (live.triggers.value(name) != reference.triggers.value(name))
            report.changedTriggers << name;
    }
    for (auto it = reference.trailRoutines.begin(); it != reference.trailRoutines.end(); ++it) {
        if (live.trailRoutines.contains(it.key()) && live.trailRoutines.value(it.key()) != it.value())
            report.changedTriggers << it.key();
    }
    return report;
}

} // namespace RegisterSchema
