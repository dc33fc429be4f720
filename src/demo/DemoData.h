#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Connection;

// Fills a register with a believable Hungarian office's documents and master
// data, for demonstrations and for measuring the screens on large registers.
// The same seed and the same "today" give the same register.
struct DemoOptions
{
    int documents = 1000;
    quint32 seed = 1;
    QDate today;          // invalid: the server's date
    int years = 4;        // documents from 1 January of the year (years - 1) before today
    int batchRows = 1000; // documents per INSERT and per transaction
    // Gives a few of the newest documents a real file of every kind the content search
    // reads, stored as the program stores them (the register's storage folder, scrambled
    // when it says so), without their text, for index-attachments to read.
    bool sampleFiles = false;
};

// A sample file of the demo: the document it is attached to and the word of its
// sentence that no field of the register holds.
struct DemoSampleFile
{
    qint64 document = 0;
    QString originalName;
    QString word;
};

struct DemoSummary
{
    int postalCodes = 0;     // rows added to irsz
    int clients = 0;         // external partners added
    int internalClients = 0; // internal persons and units added
    int users = 0;
    int groups = 0;
    int projects = 0;
    int workNumbers = 0;
    int types = 0;
    int otherGroupings = 0;
    int mainNumbers = 0;
    int statuses = 0; // status rows added (existing codes are kept)
    int documents = 0;
    int deleted = 0;
    int reminders = 0;
    int remindersToday = 0;
    int lent = 0;
    int marked = 0;
    int copies = 0;
    int journalRows = 0;
    int attachments = 0;
    QList<DemoSampleFile> sampleFiles;
    QString sampleFilesNote; // why some or all were not made, when so
};

class DemoData
{
public:
    // Called after every batch: a phase name and how far it is.
    using Progress = std::function<void(const QString &phase, int done, int total)>;

    DemoData(Connection &connection, DemoOptions options);
    ~DemoData();
    DemoData(const DemoData &) = delete;
    DemoData &operator=(const DemoData &) = delete;

    void setProgress(Progress progress);

    // Adds the demo to whatever the register holds (keys and numbering continue
    // after the existing rows). Throws DbError / KorvenaError; a failed batch is
    // rolled back, the batches before it stay.
    DemoSummary run();

    // The password every demo user logs in with.
    static QString demoPassword() { return QStringLiteral("pirkalo"); }
    // The login codes of the demo users.
    static QStringList demoLogins();
    // How many documents the register holds (deleted ones included).
    static qint64 documentCount(Connection &connection);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
