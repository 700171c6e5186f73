// A scripted stand-in for the multimedia services: records every command and sound call and
// answers from a table of replies (or from a handler a test installs).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
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
    reply_lengths.push_back(reply_length);
    Answer answer;
    if (handler) {
      answer = handler(std::string(command));
    } else if (auto it = answers.find(std::string(command)); it != answers.end()) {
      answer = it->second;
    } else {
      answer.result = default_result;
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
    sounds.push_back({name ? std::optional<std::string>(*name) : std::nullopt, flags});
    return true;
  }

  uint32_t WaveOutGetNumDevs() override { return devices; }

  struct SoundCall {
    std::optional<std::string> name;
    uint32_t flags;
  };

  std::map<std::string, Answer> answers;
  std::function<Answer(const std::string&)> handler;
  uint32_t default_result = 0;
  std::map<uint32_t, std::string> error_texts;
  uint32_t devices = 1;

  std::vector<std::string> commands;
  std::vector<uint32_t> reply_lengths;
  std::vector<SoundCall> sounds;
};

// A small model of a three-track disc for tests of the track logic: it answers the status
// queries and follows the play commands.
class FakeCdDrive {
 public:
  int tracks = 3;
  int current = 1;
  bool playing = false;
  bool disc = true;

  FakeMultimedia::Answer operator()(const std::string& command) {
    if (!disc && command.rfind("status cdaudio", 0) == 0) return {kMciErrDeviceNotReady, ""};
    if (command == "status cdaudio current track") return {0, std::to_string(current)};
    if (command == "status cdaudio number of tracks") return {0, std::to_string(tracks)};
    if (command == "status cdaudio mode") return {0, playing ? "playing" : "stopped"};
    const std::string position = "status cdaudio position track ";
    if (command.rfind(position, 0) == 0) {
      const int track = std::stoi(command.substr(position.size()));
      if (track < 1 || track > tracks) return {kMciErrOutOfRange, ""};
      return {0, (track < 10 ? "0" : "") + std::to_string(track) + ":00:00:00"};
    }
    if (command == "play cdaudio") {
      playing = true;
      return {};
    }
    const std::string play_from = "play cdaudio from ";
    if (command.rfind(play_from, 0) == 0) {
      const std::string from = command.substr(play_from.size());
      if (from.empty() || from[0] < '0' || from[0] > '9') return {kMciErrBadInteger, ""};
      current = std::stoi(from);
      playing = true;
      return {};
    }
    return {};
  }
};

}  // namespace vx::test
