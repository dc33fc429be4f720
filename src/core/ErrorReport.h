#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

// What the unhandled-error handler does with a failure, without any window:
// the log line, the Hungarian explanation of the failures it knows, and the
// error report sent to the maker.

// Object name of the report preview window; failures while it is active are printer problems.
inline constexpr char ReportPreviewWindowName[] = "QRStandardPreview";

// The log file: the data folder + the executable's name with ".log" for its extension.
QString errorLogPath();
// Date and time in the user's locale format + " : " + window + " - " + m.
QString errorLogLine(const QDateTime &when, const QString &windowName, const QString &m);
// Appends the line for now. A log that cannot be written is skipped; this never throws.
void appendErrorLog(const QString &windowName, const QString &m) noexcept;

// The reaction to a failure message m (LastAction + "-" + the failure's text).
struct ErrorReaction
{
    bool ignored = false;   // nothing is shown
    QStringList errorBoxes; // error boxes ("Hiba"), in order
    bool offerReport = false;
    QString message; // m as reported: with ".sql: " and the statement in Base64 after a syntax error

    // The text of the Yes/No question that offers the report.
    QString reportQuestion() const;
};

ErrorReaction classifyUnhandledError(const QString &m, const QString &lastSql, const QString &windowName);

// Whether a statement names a password column (ftp_pwd, webpwd, jelszomd5, ...) or sets a password.
bool touchesPasswords(const QString &sql);
// The statement with every value (quoted text, number) replaced by "?"; the
// shape and the names stay, for the maker to see what failed.
QString withoutValues(const QString &sql);

// The maker's web service: KORVENA_VENDOR_URL when set, otherwise the maker's own host.
QString vendorBaseUrl();
// The executable's file name (with its extension, where it has one).
QString executableFileName();

// The error-report address; each value is percent-encoded so that the message
// arrives whole whatever characters it holds.
QUrl errorReportUrl(const QString &windowName, const QString &database, const QString &client,
                    const QString &m);
// Database and client from the session: field 1 of the picked profile and the register's owner.
QUrl errorReportUrl(const QString &windowName, const QString &m);
