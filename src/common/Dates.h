#pragma once

#include <QDate>

// Parts of a date; 0 for an invalid date.
int DateYear(const QDate &date);
int DateMonth(const QDate &date);
int DateDay(const QDate &date);
// The week number by ISO 8601 (weeks start on Monday; week 1 holds the first Thursday).
int DateWeek(const QDate &date);
