// The volume the panel's mute, down and up buttons move: the ALSA mixer's default device, behind a
// small interface so tests can stand in for a sound card.
#pragma once

#include <poll.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

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

  // Where an open mixer hears of changes made by anyone: wait on these, then hand the wait's result
  // to handle_events(). None while the mixer is closed.
  virtual std::vector<pollfd> descriptors() { return {}; }
  virtual void handle_events(const std::vector<pollfd>& polled) { static_cast<void>(polled); }
  // A mixer that could not be opened is tried again only after this: a sound card came, or the user
  // pressed a volume key.
  virtual void retry() {}
};

// The playback volume and switch of "Master" on the "default" device (PipeWire or PulseAudio where
// they are configured). Opened once and kept; opened again after an error.
std::unique_ptr<Mixer> alsa_mixer(std::string device = "default", std::string element = "Master");
