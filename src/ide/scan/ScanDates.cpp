// Day numbers counted from 1899-12-30 through the days of the proleptic Gregorian calendar.
#include "ide/scan/ScanDates.h"

namespace {

// Days from 0001-01-01 to the first day of year.
int64_t daysBeforeYear(int year)
{
    const int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

constexpr int64_t kDaysTo1899_12_30 = 693593; // from 0001-01-01

} // namespace

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

double encodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || day < 1 || day > daysInMonth(year, month))
        throw EConvertError(kInvalidDateEncode);
    int64_t days = daysBeforeYear(year);
    for (int m = 1; m < month; ++m)
        days += daysInMonth(year, m);
    days += day - 1;
    return static_cast<double>(days - kDaysTo1899_12_30);
}

double encodeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    return encodeDate(year, month, day) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}
