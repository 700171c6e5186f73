// The event script: parallel lists with 1-based positions (stored 0-based) and a cursor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

struct EventScript {
  std::vector<std::string> EventKinds;
  std::vector<std::string> EventTexts;
  std::vector<std::string> EventDurations;
  int16_t EventIndex = 0;  // 1-based position of the next event to fire

  void Append(std::string kind, std::string text, std::string duration) {
    EventKinds.push_back(std::move(kind));
    EventTexts.push_back(std::move(text));
    EventDurations.push_back(std::move(duration));
  }
  size_t Count() const { return EventKinds.size(); }
};

}  // namespace vx
