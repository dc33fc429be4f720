#include "AdminCli.h"

#include "core/RegisterSchema.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace AdminCli {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

void addConnectionOptions(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("host"), QStringLiteral("A kiszolgáló neve vagy IP címe (alapérték: 127.0.0.1)."),
                      QStringLiteral("gép"), QStringLiteral("127.0.0.1")});
    parser.addOption({QStringLiteral("port"), QStringLiteral("A kiszolgáló portja (alapérték: 3306)."),
                      QStringLiteral("port"), QStringLiteral("3306")});
    parser.addOption({QStringLiteral("user"), QStringLiteral("Felhasználó a kiszolgálón."), QStringLiteral("név"),
                      QStringLiteral("root")});
    // Kept for old scripts; a value here shows in the process list and the shell history.
    parser.addOption({QStringLiteral("password"),
                      QStringLiteral("Jelszó a kiszolgálón (régi szkriptekhez; látszik a folyamatlistában). "
                                     "Helyette: a KORVENA_PASSWORD környezeti változó, vagy a kérdésre "
                                     "begépelve."),
                      QStringLiteral("jelszó")});
    parser.addOption({QStringLiteral("database"), QStringLiteral("Az adatbázis (nyilvántartás) neve."),
                      QStringLiteral("név")});
}

bool parse(QCommandLineParser &parser, const QStringList &args, const QString &description, int &exitCode,
           int positionalArguments)
{
    parser.setApplicationDescription(description);
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Ez a súgó.")});
    QStringList argv = args;
    argv[0] = QStringLiteral("korvena-admin ") + args[0];
    if (!parser.parse(argv)) {
        err() << "Hibás paraméter: " << parser.errorText() << "\n"
              << "Súgó: korvena-admin " << args[0] << " --help\n";
        err().flush();
        exitCode = Usage;
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QString help = parser.helpText();
        // The parser names the program by its path; the command reads better.
        const QString program = QCoreApplication::arguments().value(0);
        if (!program.isEmpty())
            help.replace(program, QStringLiteral("korvena-admin ") + args[0]);
        help.replace(QStringLiteral("Usage:"), QStringLiteral("Használat:"));
        help.replace(QStringLiteral("Options:"), QStringLiteral("Kapcsolók:"));
        help.replace(QStringLiteral("[options]"), QStringLiteral("[kapcsolók]"));
        out() << help;
        out().flush();
        exitCode = Ok;
        return false;
    }
    if (parser.positionalArguments().size() > positionalArguments) {
        err() << "Ismeretlen paraméter: " << parser.positionalArguments().value(positionalArguments) << "\n";
        err().flush();
        exitCode = Usage;
        return false;
    }
    return true;
}

namespace {

termios savedTerminal;

// Ctrl+C at the prompt must not leave the terminal without echo.
void restoreTerminalAndStop(int signal)
{
    tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

QString promptPassword()
{
    err() << "Jelszó: ";
    err().flush();
    termios quiet{};
    const bool echoOff = tcgetattr(STDIN_FILENO, &savedTerminal) == 0;
    void (*previous)(int) = SIG_DFL;
    if (echoOff) {
        quiet = savedTerminal;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        previous = std::signal(SIGINT, restoreTerminalAndStop);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QByteArray line;
    for (int c; (c = std::fgetc(stdin)) != EOF && c != '\n';)
        line += char(c);
    if (echoOff) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
        std::signal(SIGINT, previous);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

} // namespace

QString password(const QCommandLineParser &parser)
{
    if (parser.isSet(QStringLiteral("password")))
        return parser.value(QStringLiteral("password"));
    if (qEnvironmentVariableIsSet("KORVENA_PASSWORD"))
        return qEnvironmentVariable("KORVENA_PASSWORD");
    if (isatty(STDIN_FILENO))
        return promptPassword();
    return {};
}

ConnectionParams connectionParams(const QCommandLineParser &parser, bool withDatabase)
{
    ConnectionParams p;
    p.host = parser.value(QStringLiteral("host"));
    bool ok = false;
    p.port = parser.value(QStringLiteral("port")).toUInt(&ok);
    if (!ok || p.port == 0 || p.port > 65535)
        throw KorvenaError(QStringLiteral("Érvénytelen port: ") + parser.value(QStringLiteral("port")));
    p.user = parser.value(QStringLiteral("user"));
    p.password = password(parser);
    if (withDatabase)
        p.database = parser.value(QStringLiteral("database"));
    return p;
}

QString requiredDatabase(const QCommandLineParser &parser)
{
    const QString database = parser.value(QStringLiteral("database"));
    if (database.isEmpty()) {
        err() << "Hiba: meg kell adni az adatbázis nevét (--database).\n";
        err().flush();
        return {};
    }
    RegisterSchema::checkDatabaseName(database);
    return database;
}

void connect(Connection &connection, const ConnectionParams &params)
{
    try {
        connection.open(params);
    } catch (const DbError &e) {
        throw KorvenaError(QStringLiteral("Nem sikerült kapcsolódni a kiszolgálóhoz (%1:%2): %3")
                               .arg(params.host)
                               .arg(params.port)
                               .arg(e.text()));
    }
}

} // namespace AdminCli
