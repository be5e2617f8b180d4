// What the memory check may count on under Linux: what the system reports free, the room
// under the control group's limit, and the room under the process's own limits.

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "state/memory_available.h"

namespace corvel::detail {
namespace {

// The first bytes of a small system file (they hold a number or a short table), or nothing
// when it cannot be read.
std::optional<std::string_view> ReadSmallFile(const char* path, char (&buffer)[4096]) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return std::nullopt;
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  return std::string_view(buffer, n);
}

// The first unsigned number in `text`, or kMemoryUnknown ("max" in a cgroup file reads as that).
std::uint64_t FirstNumber(std::string_view text) {
  const auto start = text.find_first_of("0123456789");
  if (start == std::string_view::npos) return kMemoryUnknown;
  std::uint64_t value = kMemoryUnknown;
  std::from_chars(text.data() + start, text.data() + text.size(), value);
  return value;
}

// MemAvailable of /proc/meminfo: what the kernel can hand out without swapping, counting
// reclaimable caches. Falls back to free physical pages where /proc is missing.
std::uint64_t SystemAvailable() {
  char buffer[4096];
  if (const auto text = ReadSmallFile("/proc/meminfo", buffer)) {
    const auto at = text->find("MemAvailable:");
    if (at != std::string_view::npos) {
      const std::uint64_t kib = FirstNumber(text->substr(at));
      if (kib != kMemoryUnknown) return kib * 1024;
    }
  }
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages > 0 && pageSize > 0) {
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
  }
  return kMemoryUnknown;
}

// Room left under the memory limit of the process's control group (a container or a
// systemd slice), which kills the process long before the machine runs out.
std::uint64_t GroupAvailable() {
  static constexpr const char* kLimitAndUsage[][2] = {
      {"/sys/fs/cgroup/memory.max", "/sys/fs/cgroup/memory.current"},
      {"/sys/fs/cgroup/memory/memory.limit_in_bytes",
       "/sys/fs/cgroup/memory/memory.usage_in_bytes"}};
  for (const auto& [limitPath, usagePath] : kLimitAndUsage) {
    char limitBuffer[4096];
    char usageBuffer[4096];
    const auto limitText = ReadSmallFile(limitPath, limitBuffer);
    const auto usageText = ReadSmallFile(usagePath, usageBuffer);
    if (!limitText || !usageText) continue;
    const std::uint64_t limit = FirstNumber(*limitText);
    const std::uint64_t usage = FirstNumber(*usageText);
    if (limit == kMemoryUnknown || usage == kMemoryUnknown) return kMemoryUnknown;
    return limit > usage ? limit - usage : 0;
  }
  return kMemoryUnknown;
}

// Room left under the process's own limits on its address space and its data (`ulimit -v`,
// `ulimit -d`, common on shared servers): past them an allocation fails however much memory
// the machine has free. The kernel counts them against VmSize and VmData.
std::uint64_t ProcessLimitAvailable() {
  static constexpr struct {
    int resource;
    std::string_view usageField;
  } kLimits[] = {{RLIMIT_AS, "VmSize:"}, {RLIMIT_DATA, "VmData:"}};
  char buffer[4096];
  const auto status = ReadSmallFile("/proc/self/status", buffer);
  std::uint64_t room = kMemoryUnknown;
  for (const auto& [resource, usageField] : kLimits) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) continue;
    std::uint64_t used = 0;
    if (status) {
      const auto at = status->find(usageField);
      const std::uint64_t kib =
          at == std::string_view::npos ? kMemoryUnknown : FirstNumber(status->substr(at));
      if (kib != kMemoryUnknown) used = kib * 1024;
    }
    const std::uint64_t cap = limit.rlim_cur;
    room = std::min(room, cap > used ? cap - used : 0);
  }
  return room;
}

}  // namespace

std::uint64_t MemoryAvailable() {
  return std::min({SystemAvailable(), GroupAvailable(), ProcessLimitAvailable()});
}

}  // namespace corvel::detail
