#pragma once

#include <QString>
#include <QTemporaryDir>

// A data folder of its own for a test (KORVENA_DATA points at it while it lives).
class TempDataFolder
{
public:
    TempDataFolder();
    ~TempDataFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};

// Reads a test fixture from tests/data.
QByteArray readFixture(const QString &name);

// Back to the state of a process that has just started: a fresh session, no last
// action or statement, the real clock. Tests call it in init() so that one test's
// user, settings or frozen date never leak into the next.
void resetProcessState();
