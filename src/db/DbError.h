#pragma once

#include <QString>
#include <exception>

// Every failure the program raises on purpose derives from this, so the one
// error handler can show its Hungarian text.
class KorvenaError : public std::exception
{
public:
    explicit KorvenaError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString &text() const { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

// A server or client-library error. text() is the server's message followed by
// the error number in parentheses: "Lost connection to server during query (2013)".
class DbError : public KorvenaError
{
public:
    DbError(const QString &message, unsigned code)
        : KorvenaError(message + QStringLiteral(" (") + QString::number(code) + QLatin1Char(')')),
          m_message(message), m_code(code)
    {
    }
    const QString &message() const { return m_message; }
    unsigned code() const { return m_code; }

    // The connection is gone (the next statement reconnects).
    bool isConnectionLost() const;

private:
    QString m_message;
    unsigned m_code;
};

// Text that the register's character set (latin2) cannot hold. Raised before
// anything is sent, so nothing is ever stored as "?".
class EncodingError : public KorvenaError
{
public:
    using KorvenaError::KorvenaError;
};
