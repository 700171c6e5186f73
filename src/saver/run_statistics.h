// What --stats and -fps report about a run: frames, draw calls and triangles counted as
// they are drawn, wall and process CPU time measured from the start of the loop. The
// platform gives the process's CPU time.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx {

class RunStatistics {
 public:
  using Clock = std::chrono::steady_clock;
  // `cpu_ms`: the process's CPU time so far, in milliseconds.
  explicit RunStatistics(std::function<double()> cpu_ms) : cpu_ms_(std::move(cpu_ms)) {}

  void Start(Clock::time_point now = Clock::now());
  void CountFrame(uint64_t draw_calls, uint64_t triangles);
  // The -fps corner text ("FPS: 40.0\nCPU: 12.5%") once a second has passed since the last
  // one; nullopt before that.
  std::optional<std::string> FpsText(Clock::time_point now = Clock::now());
  // The --stats report, one "name: value" line each; `sizes` are the screens' (width,
  // height), the primary first. Draw calls and triangles are those of all screens together.
  std::string Summary(const std::vector<std::pair<int, int>>& sizes, std::string_view ended_by,
                      Clock::time_point now = Clock::now()) const;

  uint64_t Frames() const { return frames_; }

 private:
  std::function<double()> cpu_ms_;
  uint64_t frames_ = 0, draw_calls_ = 0, triangles_ = 0;
  double cpu_start_ms_ = 0;
  Clock::time_point wall_start_;
  Clock::time_point fps_since_;
  uint64_t fps_frames_ = 0;
  double fps_cpu_ms_ = 0;
};

}  // namespace vx
