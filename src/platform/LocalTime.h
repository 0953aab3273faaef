// Calendar dates and times in the user's time zone, for lists that show when a file was
// changed and filters that compare file dates with dates the user typed.
#pragma once

#include <cstdint>

struct TLocalDateTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The local date and time of a moment given in seconds since 1970 (UTC). A moment the C
// library cannot convert gives 1970-01-01 00:00:00.
TLocalDateTime localDateTime(int64_t secondsSince1970);
// The local date and time now.
TLocalDateTime localNow();
