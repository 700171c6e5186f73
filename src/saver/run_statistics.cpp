#include "saver/run_statistics.h"

#include <cstdio>

namespace vx {

void RunStatistics::Start(Clock::time_point now) {
  cpu_start_ms_ = cpu_ms_();
  wall_start_ = now;
  fps_since_ = now;
  fps_cpu_ms_ = cpu_start_ms_;
  fps_frames_ = frames_;
}

void RunStatistics::CountFrame(uint64_t draw_calls, uint64_t triangles) {
  draw_calls_ += draw_calls;
  triangles_ += triangles;
  ++frames_;
}

std::optional<std::string> RunStatistics::FpsText(Clock::time_point now) {
  const double seconds = std::chrono::duration<double>(now - fps_since_).count();
  if (seconds < 1.0) return std::nullopt;
  const double cpu_ms = cpu_ms_();
  char text[64];
  std::snprintf(text, sizeof text, "FPS: %.1f\nCPU: %.1f%%",
                static_cast<double>(frames_ - fps_frames_) / seconds,
                (cpu_ms - fps_cpu_ms_) / (seconds * 10.0));
  fps_since_ = now;
  fps_frames_ = frames_;
  fps_cpu_ms_ = cpu_ms;
  return text;
}

std::string RunStatistics::Summary(const std::vector<std::pair<int, int>>& sizes,
                                   std::string_view ended_by, Clock::time_point now) const {
  const double seconds = std::chrono::duration<double>(now - wall_start_).count();
  const double frames = static_cast<double>(frames_ ? frames_ : 1);
  const double cpu_ms = cpu_ms_() - cpu_start_ms_;
  char text[512];
  std::snprintf(text, sizeof text,
                "frames drawn: %llu\nframes per second: %.1f\nCPU ms per frame: %.2f\n"
                "process CPU: %.0f%% of one core\ndraw calls per frame: %.1f\n"
                "triangles per frame: %.0f\n",
                static_cast<unsigned long long>(frames_),
                seconds > 0 ? static_cast<double>(frames_) / seconds : 0.0, cpu_ms / frames,
                seconds > 0 ? cpu_ms / (seconds * 10.0) : 0.0,
                static_cast<double>(draw_calls_) / frames,
                static_cast<double>(triangles_) / frames);
  std::string summary = text;
  summary += "size: ";
  for (size_t i = 0; i < sizes.size(); ++i) {
    if (i > 0) summary += ", ";
    summary += std::to_string(sizes[i].first) + " x " + std::to_string(sizes[i].second);
  }
  summary += "\nended by: " + std::string(ended_by) + "\n";
  return summary;
}

}  // namespace vx
