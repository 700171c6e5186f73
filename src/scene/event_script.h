// The event script: parallel lists with 1-based positions (stored 0-based) and a cursor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vx {

struct EventScript {
  std::vector<std::string> kinds;
  std::vector<std::string> texts;
  std::vector<std::string> durations;  // the wait after an event, as text
  int16_t cursor = 0;                  // 1-based position of the next event to fire

  void Append(std::string kind, std::string text, std::string duration) {
    kinds.push_back(std::move(kind));
    texts.push_back(std::move(text));
    durations.push_back(std::move(duration));
  }
  size_t Count() const { return kinds.size(); }
};

}  // namespace vx
