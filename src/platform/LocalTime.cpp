// Local dates through the C library's time zone rules.
#include "platform/LocalTime.h"

#include <ctime>

TLocalDateTime localDateTime(int64_t secondsSince1970)
{
    const std::time_t moment = static_cast<std::time_t>(secondsSince1970);
    std::tm parts{};
    TLocalDateTime result{1970, 1, 1, 0, 0, 0};
    if (!::localtime_r(&moment, &parts))
        return result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.day = parts.tm_mday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    return result;
}

TLocalDateTime localNow()
{
    return localDateTime(static_cast<int64_t>(std::time(nullptr)));
}
