#pragma once

#include "db/Connection.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

// Shared pieces of the korvena-admin commands: the connection options, output,
// and the exit codes.
namespace AdminCli {

enum ExitCode { Ok = 0, Failure = 1, Usage = 2 };

QTextStream &out();
QTextStream &err();

// Adds --host, --port, --user, --password, --database (and --help) to a parser.
void addConnectionOptions(QCommandLineParser &parser);
// Parses the command's arguments (args[0] is the command name). Prints the help
// and returns false with exitCode set when it should stop. More positional arguments
// than allowed stop it too.
bool parse(QCommandLineParser &parser, const QStringList &args, const QString &description, int &exitCode,
           int positionalArguments = 0);
// The server password: --password when given, else KORVENA_PASSWORD, else asked
// without echo when standard input is a terminal, else empty.
QString password(const QCommandLineParser &parser);
// The connection the options name; database is left out when withDatabase is false.
ConnectionParams connectionParams(const QCommandLineParser &parser, bool withDatabase = true);
// The --database value, checked as a register name; empty (message printed) when missing.
QString requiredDatabase(const QCommandLineParser &parser);
// Opens the connection; a refusal becomes a KorvenaError that names the server.
void connect(Connection &connection, const ConnectionParams &params);

} // namespace AdminCli

// The commands; each gets its own arguments (args[0] = the command's name).
int adminInstall(const QStringList &args);
int adminCheck(const QStringList &args);
int adminVerify(const QStringList &args);
int adminDemo(const QStringList &args);
int adminProfile(const QStringList &args);
int adminBackup(const QStringList &args);
int adminRestoreCheck(const QStringList &args);
int adminIndexAttachments(const QStringList &args);
