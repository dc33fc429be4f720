#pragma once

#include <QDate>
#include <QDateTime>

// The program's "today" and "now". Everything that depends on the date asks
// here, so tests can fix the clock at a chosen moment.
QDate Today();
QDateTime Now();

// Stops the clock at the given moment until clearFixedNow().
void setFixedNow(const QDateTime &now);
void clearFixedNow();
