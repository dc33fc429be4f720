#include "common/Dates.h"

int DateYear(const QDate &date)
{
    return date.isValid() ? date.year() : 0;
}

int DateMonth(const QDate &date)
{
    return date.isValid() ? date.month() : 0;
}

int DateDay(const QDate &date)
{
    return date.isValid() ? date.day() : 0;
}

int DateWeek(const QDate &date)
{
    return date.isValid() ? date.weekNumber() : 0;
}
