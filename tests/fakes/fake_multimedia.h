// A scripted stand-in for the multimedia services: records every command and sound call in one
// list and answers from a table of replies (or from a handler a test installs).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/multimedia.h"

namespace vx::test {

class FakeMultimedia final : public Multimedia {
 public:
  struct Answer {
    uint32_t result = 0;
    std::string reply;
  };

  uint32_t SendString(std::string_view command, std::string* reply,
                      uint32_t reply_length) override {
    commands.emplace_back(command);
    Answer answer{default_result, ""};
    if (handler) {
      answer = handler(std::string(command));
    } else if (auto it = answers.find(std::string(command)); it != answers.end()) {
      answer = it->second;
    }
    if (reply != nullptr && reply_length > 0) {
      *reply = answer.result == 0 ? answer.reply.substr(0, reply_length - 1) : std::string();
    }
    return answer.result;
  }
  bool GetErrorString(uint32_t code, std::string& text, uint32_t length) override {
    auto it = error_texts.find(code);
    if (it == error_texts.end() || length == 0) return false;
    text = it->second.substr(0, length - 1);
    return true;
  }
  bool PlaySound(const std::string* name, uint32_t flags) override {
    commands.push_back("sound " + (name ? *name : "(none)") + " " + std::to_string(flags));
    return true;
  }
  uint32_t WaveOutGetNumDevs() override { return devices; }

  std::map<std::string, Answer> answers;
  std::function<Answer(const std::string&)> handler;
  uint32_t default_result = 0;
  std::map<uint32_t, std::string> error_texts;
  uint32_t devices = 1;

  std::vector<std::string> commands;  // the sounds too, as "sound NAME FLAGS"
};

// A small model of a disc for tests of the track logic: it answers the status queries and
// follows the play commands.
struct FakeCdDrive {
  int tracks = 3, current = 1;
  bool playing = false, disc = true;

  FakeMultimedia::Answer operator()(const std::string& command) {
    const auto after = [&](std::string_view prefix) {
      return command.starts_with(prefix) ? std::optional(command.substr(prefix.size()))
                                         : std::nullopt;
    };
    if (!disc && command.starts_with("status cdaudio")) return {kMciErrDeviceNotReady, ""};
    if (command == "status cdaudio current track") return {0, std::to_string(current)};
    if (command == "status cdaudio number of tracks") return {0, std::to_string(tracks)};
    if (command == "status cdaudio mode") return {0, playing ? "playing" : "stopped"};
    if (auto track = after("status cdaudio position track ")) {
      const int n = std::stoi(*track);
      if (n < 1 || n > tracks) return {kMciErrOutOfRange, ""};
      return {0, (n < 10 ? "0" : "") + std::to_string(n) + ":00:00:00"};
    }
    if (auto from = after("play cdaudio from ")) {
      if (from->empty() || from->front() < '0' || from->front() > '9')
        return {kMciErrBadInteger, ""};
      current = std::stoi(*from);
    }
    if (command.starts_with("play cdaudio")) playing = true;
    return {};
  }
};

}  // namespace vx::test
