#pragma once

#include "db/Connection.h"

#include <memory>

// A fresh register on the private test server, created from server/ and dropped
// again at the end. It is the current connection while it lives.
class TestDatabase
{
public:
    enum Kind { Register, Empty };
    explicit TestDatabase(Kind kind = Register);
    ~TestDatabase();

    Connection &connection() { return *m_connection; }
    const QString &name() const { return m_name; }
    ConnectionParams params() const;               // with the database
    std::unique_ptr<Connection> newConnection() const;

    // The private server, no database chosen.
    static ConnectionParams serverParams();

private:
    QString m_name;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<CurrentConnectionScope> m_scope;
};
