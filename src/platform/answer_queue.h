#pragma once
// The answers a scripted test double gives, in the order a test queued them.

#include <QString>
#include <deque>
#include <optional>

namespace corvel {

// Takes the oldest queued answer; nothing (a cancelled box, a job that worked) once none is
// left.
inline std::optional<QString> TakeAnswer(std::deque<std::optional<QString>>& answers) {
  if (answers.empty()) return std::nullopt;
  // Copied out before the pop rather than moved: GCC 12 misreads a moved-from optional
  // QString as possibly uninitialised.
  const bool given = answers.front().has_value();
  const QString text = answers.front().value_or(QString());
  answers.pop_front();
  if (!given) return std::nullopt;
  return text;
}

}  // namespace corvel
