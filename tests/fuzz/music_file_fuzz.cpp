// Music files through the path the saver loads them by: BackgroundMusic in front of the Linux
// multimedia layer and SDL2_mixer. Byte 0 picks the name (bit 0: .mp3, else .wav); the rest is
// the file. Each run starts the music, lets the mixer's thread decode for a moment, polls it
// as the saver's timer would, and stops it. SDL's disk driver writes to /dev/null with no
// pause between buffers, so the decoders run many times faster than the music would play.
// Seeds: small WAVs of every sample layout and MP3s made with sox, and the headers that once
// crashed the mixer.
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>

#include "fuzz/fuzz_support.h"
#include "music/background_music.h"
#include "platform/linux/sdl_multimedia.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vx;
  if (size < 1) return -1;
  // One audio output for the whole run, as one saver has: opening it costs more than a run.
  static SdlMultimedia multimedia("");
  const std::string file =
      (fuzz::ScratchFolder() / ((data[0] & 1) ? "music.mp3" : "music.wav")).string();
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  Settings settings;
  settings.music_source = MusicSource::kFile;
  settings.music_file = file;
  BackgroundMusic music(multimedia, settings);
  music.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  music.Poll();
  music.Stop();
  return 0;
}
