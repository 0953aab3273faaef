// Calendar arithmetic of the file scan's date filters: dates as day numbers with the time of
// day as a fraction (day 0 is 1899-12-30, so 1900-01-01 is day 2), Gregorian leap years.
#pragma once

#include "base/Exception.h"

#include <cstdint>

// A date that does not exist (month 13, February 30, year 0) handed to encodeDate.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

inline constexpr const char* kInvalidDateEncode = "Invalid argument to date encode";

bool isLeapYear(int year);
// The number of days of month (1..12) in year; 0 for a month outside 1..12.
int daysInMonth(int year, int month);
// The day number of a date at midnight. Throws EConvertError for a date that does not exist
// (years 1..9999 only).
double encodeDate(int year, int month, int day);
// The day number of a date and time; the same checks as encodeDate.
double encodeDateTime(int year, int month, int day, int hour, int minute, int second);
