#include "Interval.h"

#include <algorithm>
#include <limits>

int32_t IntervalFromMinutes(int32_t minutes)
{
    constexpr int64_t kMsPerMinute = 60000;
    const int64_t ms = int64_t{minutes} * kMsPerMinute;
    return static_cast<int32_t>(std::clamp<int64_t>(ms, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}
