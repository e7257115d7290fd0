#pragma once

#include <cstdint>

// The polling interval in milliseconds for the options file's "time" in
// minutes. Minutes whose milliseconds do not fit 32 bits (beyond about 24.8
// days either way) give the nearest value that fits, rather than a wrapped
// one, so a huge interval stays huge and is written back as 35791 minutes.
int32_t IntervalFromMinutes(int32_t minutes);
