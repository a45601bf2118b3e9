#pragma once
// A point in time as the program holds it, from its calendar parts: the tests write times this way.

#include "data/DateTime.h"

inline double At(int year, int month, int day, int hour, int minute, int second = 0, int millisecond = 0) {
    return *TryEncodeDateTime(year, month, day, hour, minute, second, millisecond);
}
