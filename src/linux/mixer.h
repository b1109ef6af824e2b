// The volume the panel's mute, down and up buttons move: the ALSA mixer's default device, behind a
// small interface so tests can stand in for a sound card.
#pragma once

#include <memory>
#include <optional>
#include <string>

struct MixerReading {
  int percent = 0;
  bool muted = false;
};

class Mixer {
 public:
  virtual ~Mixer() = default;
  // Nothing when there is no mixer to read; why in problem().
  virtual std::optional<MixerReading> read() = 0;
  virtual bool set_percent(int percent) = 0;
  virtual bool set_muted(bool muted) = 0;
  virtual const std::string& problem() const = 0;
};

// The playback volume and switch of "Master" on the "default" device (PipeWire or PulseAudio where
// they are configured), opened afresh on each call so a sound server that starts late is found.
std::unique_ptr<Mixer> alsa_mixer(std::string device = "default", std::string element = "Master");
