#include "report/report_time.h"

#include <charconv>
#include <cstring>

namespace corvel {

std::optional<std::time_t> ParseSourceDateEpoch(const char* text) {
  const char* end = text + std::strlen(text);
  if (text == end || *text < '0' || *text > '9') return std::nullopt;
  long long seconds = 0;
  const auto [ptr, ec] = std::from_chars(text, end, seconds);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  std::tm local{};
  const auto instant = static_cast<std::time_t>(seconds);
  if (localtime_r(&instant, &local) == nullptr) return std::nullopt;  // beyond any calendar year
  return instant;
}

LocalDateTime LocalDateTimeAt(std::time_t instant) {
  std::tm local{};
  localtime_r(&instant, &local);
  return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace corvel
