// The platform's multimedia services as the music player uses them: command strings with
// result codes and error texts, a looping sound player and the count of audio outputs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

// Result codes of the command-string interface (0 is success).
inline constexpr uint32_t kMciBase = 256;
inline constexpr uint32_t kMciErrInvalidDeviceId = kMciBase + 1;
inline constexpr uint32_t kMciErrUnrecognizedKeyword = kMciBase + 3;
inline constexpr uint32_t kMciErrUnrecognizedCommand = kMciBase + 5;
inline constexpr uint32_t kMciErrHardware = kMciBase + 6;
inline constexpr uint32_t kMciErrInvalidDeviceName = kMciBase + 7;
inline constexpr uint32_t kMciErrDeviceOpen = kMciBase + 9;
inline constexpr uint32_t kMciErrCannotLoadDriver = kMciBase + 10;
inline constexpr uint32_t kMciErrMissingCommandString = kMciBase + 11;
inline constexpr uint32_t kMciErrBadInteger = kMciBase + 14;
inline constexpr uint32_t kMciErrMissingParameter = kMciBase + 17;
inline constexpr uint32_t kMciErrUnsupportedFunction = kMciBase + 18;
inline constexpr uint32_t kMciErrFileNotFound = kMciBase + 19;
inline constexpr uint32_t kMciErrDeviceNotReady = kMciBase + 20;
inline constexpr uint32_t kMciErrOutOfRange = kMciBase + 26;
inline constexpr uint32_t kMciErrDuplicateAlias = kMciBase + 33;
inline constexpr uint32_t kMciErrBadConstant = kMciBase + 34;
inline constexpr uint32_t kMciErrMissingDeviceName = kMciBase + 36;
inline constexpr uint32_t kMciErrNoClosingQuote = kMciBase + 38;
inline constexpr uint32_t kMciErrInvalidFile = kMciBase + 40;
inline constexpr uint32_t kMciErrExtraCharacters = kMciBase + 49;
inline constexpr uint32_t kMciErrDeviceNotInstalled = kMciBase + 50;

// PlaySound flags.
inline constexpr uint32_t kSndSync = 0;
inline constexpr uint32_t kSndAsync = 1;
inline constexpr uint32_t kSndLoop = 8;

class Multimedia {
 public:
  virtual ~Multimedia() = default;

  // Sends one command string. When `reply` is not null and `reply_length` > 0, the reply text is
  // stored there cut to `reply_length` - 1 bytes (the room a C buffer of that size leaves
  // beside its NUL); on failure it is left empty. Returns 0 or an error code.
  virtual uint32_t SendString(std::string_view command, std::string* reply,
                              uint32_t reply_length) = 0;

  // The error text of a result code, cut to `length` - 1 bytes. False for an unknown code or
  // a zero length; `text` is then left as it was.
  virtual bool GetErrorString(uint32_t code, std::string& text, uint32_t length) = 0;

  // Plays a sound file, or with a null name stops whatever this function plays. Only
  // asynchronous play (kSndAsync, with or without kSndLoop) is offered. False when nothing
  // could be played.
  virtual bool PlaySound(const std::string* name, uint32_t flags) = 0;

  // The number of audio outputs that can really play; 0 when there is none.
  virtual uint32_t WaveOutGetNumDevs() = 0;
};

}  // namespace vx
