#pragma once

// A wider number as a 32-bit integer, held at the nearest limit when it lies
// outside the range instead of overflowing (which C++ leaves undefined for a
// double). A double is truncated toward zero; NaN gives 0.

#include <QtGlobal>
#include <cmath>
#include <limits>

inline int SaturatedInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

inline int SaturatedInt(qint64 value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}
