#include "common/Clock.h"

namespace {
QDateTime fixedNow;
}

QDate Today()
{
    return Now().date();
}

QDateTime Now()
{
    return fixedNow.isValid() ? fixedNow : QDateTime::currentDateTime();
}

void setFixedNow(const QDateTime &now)
{
    fixedNow = now;
}

void clearFixedNow()
{
    fixedNow = QDateTime();
}
