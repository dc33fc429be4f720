#include "TestSupport.h"

#include "common/Clock.h"
#include "common/LastAction.h"
#include "core/Session.h"
#include "db/Connection.h"

#include <QFile>

TempDataFolder::TempDataFolder()
    : m_previous(qgetenv("KORVENA_DATA")), m_hadPrevious(qEnvironmentVariableIsSet("KORVENA_DATA"))
{
    qputenv("KORVENA_DATA", m_dir.path().toUtf8());
}

TempDataFolder::~TempDataFolder()
{
    if (m_hadPrevious)
        qputenv("KORVENA_DATA", m_previous);
    else
        qunsetenv("KORVENA_DATA");
}

QByteArray readFixture(const QString &name)
{
    QFile f(QStringLiteral(KORVENA_TEST_DATA "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
}

void resetProcessState()
{
    resetSession();
    setLastAction(QString());
    setLastSql(QString());
    clearFixedNow();
}
