// Colours as settings store them, 0x00BBGGRR or 0x80000000 plus a system colour index, turned
// into Qt colours; system colours come from the application palette.
#pragma once

#include <QColor>

#include <cstdint>

QColor colorFromColorRef(int32_t value);
