#pragma once
// The date and time a report carries: now, or the instant SOURCE_DATE_EPOCH names, so that
// a report saved from the window and one written by corvel-duvu-batch for the same training
// can be byte for byte the same.

#include <ctime>
#include <optional>

#include "report/formats.h"

namespace corvel {

// The instant SOURCE_DATE_EPOCH names: a whole, non-negative number of seconds since 1970,
// digits only. Nothing when the text is anything else (empty, signed, out of range).
std::optional<std::time_t> ParseSourceDateEpoch(const char* text);

// The local date and time (time zone from TZ) of an instant.
LocalDateTime LocalDateTimeAt(std::time_t instant);

}  // namespace corvel
