// Title texts the event script has queued and no title has shown yet.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace vx {

class TitleQueue {
 public:
  // How many texts may wait while a title runs. The event script queues one per event, for as
  // long as the saver runs; past this the oldest waiting text is dropped.
  static constexpr size_t kMaxWaiting = 4;

  void Push(std::string text) {
    texts_.push_back(std::move(text));
    while (texts_.size() > kMaxWaiting) texts_.pop_front();
  }
  // The oldest waiting text, taken out of the queue. The queue must not be empty.
  std::string TakeFirst() {
    std::string text = std::move(texts_.front());
    texts_.pop_front();
    return text;
  }
  bool Empty() const { return texts_.empty(); }
  size_t Size() const { return texts_.size(); }
  const std::string& At(size_t index) const { return texts_.at(index); }

 private:
  std::deque<std::string> texts_;
};

}  // namespace vx
