#include "TestDatabase.h"

#include "core/RegisterSchema.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

ConnectionParams TestDatabase::serverParams()
{
    ConnectionParams p;
    p.host = QStringLiteral("127.0.0.1");
    QByteArray port = qgetenv("KORVENA_TEST_PORT");
    if (port.isEmpty()) {
        QFile f(QStringLiteral(KORVENA_DEFAULT_PORT_FILE));
        if (f.open(QIODevice::ReadOnly))
            port = f.readAll().trimmed();
    }
    if (port.isEmpty())
        qFatal("The private test server does not run: start it with scripts/localdb start");
    p.port = port.toUInt();
    p.user = QStringLiteral("korvena");
    p.password = QStringLiteral("korvena");
    return p;
}

TestDatabase::TestDatabase(Kind kind)
{
    QString app = QCoreApplication::applicationName().toLower();
    app.replace(QRegularExpression(QStringLiteral("[^a-z0-9]")), QStringLiteral("_"));
    m_name = QStringLiteral("kt_%1_%2").arg(app.left(40)).arg(QRandomGenerator::global()->bounded(1000000000));
    auto admin = std::make_unique<Connection>();
    admin->open(serverParams());
    if (kind == Register)
        RegisterSchema::install(*admin, m_name);
    else
        admin->exec(QStringLiteral("CREATE DATABASE `%1` CHARACTER SET latin2 COLLATE latin2_hungarian_ci").arg(m_name));
    admin.reset();
    m_connection = newConnection();
    m_scope = std::make_unique<CurrentConnectionScope>(m_connection.get());
}

TestDatabase::~TestDatabase()
{
    m_scope.reset();
    try {
        m_connection->exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    } catch (...) {
    }
}

ConnectionParams TestDatabase::params() const
{
    ConnectionParams p = serverParams();
    p.database = m_name;
    return p;
}

std::unique_ptr<Connection> TestDatabase::newConnection() const
{
    auto c = std::make_unique<Connection>();
    c->open(params());
    return c;
}
