#include "core/ui/Startup.h"

#include "common/Version.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/Login.h"
#include "core/ProgramSettings.h"
#include "core/Session.h"
#include "core/ui/ConnectionSetupDialog.h"
#include "core/ui/DatabaseChooser.h"
#include "core/ui/ErrorHandler.h"
#include "core/ui/LoginDialog.h"
#include "db/DbHelpers.h"

namespace {

// The single configured profile is tried at once; the chooser appears when
// there are several or the single one fails, also by a failure the error handler
// took (a port that is not a number). Empty: cancelled.
QString pickProfile(const QList<ProfileChoice> &choices)
{
    if (choices.size() == 1) {
        QString error;
        if (runGuarded(QString(),
                       [&] { error = testProfile(ConnectionProfile::fromLine(choices.first().line)); })) {
            if (error.isEmpty())
                return choices.first().line;
            ShowError(QStringLiteral("Hiba: ") + error);
        }
    }
    return DatabaseChooser::run(choices, nullptr);
}

bool versionMatches()
{
    const QString version = SelectText(QStringLiteral("SELECT MAX(verzio) FROM verzio;"), QString());
    if (version == QLatin1String(ProgramVersion))
        return true;
    ShowError(QStringLiteral("Eltérő verziók, hiba lehetséges, frissítse programját, adatbázisát\r\nadatbázis : ") +
              version + QStringLiteral("\r\n") + QStringLiteral("program: ") + QLatin1String(ProgramVersion));
    return false;
}

// False when start-up ends; what made it end has been shown.
bool startUp(Connection &connection)
{
    const AppFolders &folders = AppFolders::refresh();
    folders.createDocumentFolder();

    Session &current = session();
    current.local = LocalConfig::load();
    const QList<ProfileChoice> choices = profileChoices(current.local.conStr);
    QString line;
    if (choices.isEmpty()) {
        line = ConnectionSetupDialog::run(nullptr);
    } else {
        line = pickProfile(choices);
    }
    if (line.isEmpty())
        return false;
    current.profileLine = line;
    current.local.createHtmlFolder();

    try {
        connection.open(ConnectionProfile::fromLine(line).connectionParams());
    } catch (const KorvenaError &e) {
        ShowError(QStringLiteral("Sikertelen kapcsolódás: ") + e.text());
        return false;
    }
    Connection::setCurrent(&connection);

    if (!versionMatches())
        return false;

    current.settings = ProgramSettings::load(folders);
    for (const QString &error : ensureGroupFolders(current.settings))
        ShowError(error);

    if (current.settings.vanbelep) {
        try {
            const std::optional<SessionUser> user = LoginDialog::login(nullptr);
            if (!user)
                return false;
            session().user = *user;
        } catch (...) {
            ShowError(QStringLiteral("Ismeretlen hiba, indítsa újra a programot.\r\n") +
                      failureText(std::current_exception()));
            return false;
        }
    } else {
        current.user = SessionUser::builtInAdministrator();
    }
    announceUser(connection, current.user);

    current.ownerName = SelectText(QStringLiteral("SELECT tulajdonos FROM tulajdonos LIMIT 1;"), QString());
    return true;
}

} // namespace

std::unique_ptr<Connection> runStartup()
{
    auto connection = std::make_unique<Connection>();
    Connection *const before = Connection::current();
    bool started = false;
    // What no step expected (a register without its tables, a database that is
    // not chosen) reaches the error handler while the connection still stands.
    runGuarded(QStringLiteral("frm_Main.FormCreate"), [&] { started = startUp(*connection); });
    if (!started) {
        Connection::setCurrent(before);
        return nullptr;
    }
    return connection;
}
