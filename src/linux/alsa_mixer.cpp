#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>

#include "common/scoped_owner.h"
#include "linux/mixer.h"

namespace {

// alsa-lib prints its errors to stderr, over the terminal panel; each call's result says enough.
void quiet(const char*, int, const char*, int, const char*, ...) {}

// An open mixer with its element, closed on every way out. It keeps its elements' values current as
// long as its events are handled.
class OpenMixer {
 public:
  OpenMixer(const std::string& device, const std::string& element, std::string& problem) {
    int result = snd_mixer_open(mixer_.receive(), 0);
    if (result >= 0) {
      result = snd_mixer_attach(mixer_.get(), device.c_str());
    }
    if (result >= 0) {
      result = snd_mixer_selem_register(mixer_.get(), nullptr, nullptr);
    }
    if (result >= 0) {
      result = snd_mixer_load(mixer_.get());
    }
    if (result < 0) {
      problem = "sound mixer " + device + ": " + snd_strerror(result);
      return;
    }
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_malloc(&id);
    snd_mixer_selem_id_set_name(id, element.c_str());
    element_ = snd_mixer_find_selem(mixer_.get(), id);
    snd_mixer_selem_id_free(id);
    if (element_ == nullptr || !snd_mixer_selem_has_playback_volume(element_)) {
      problem = "sound mixer " + device + ": no " + element + " volume";
      element_ = nullptr;
    }
  }
  snd_mixer_t* mixer() const { return mixer_.get(); }
  snd_mixer_elem_t* element() const { return element_; }

 private:
  struct CloseMixer {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
  };
  ScopedOwner<snd_mixer_t*, CloseMixer> mixer_{nullptr, nullptr, CloseMixer{}};
  snd_mixer_elem_t* element_ = nullptr;
};

class AlsaMixer final : public Mixer {
 public:
  AlsaMixer(std::string device, std::string element)
      : device_(std::move(device)), element_(std::move(element)) {
    snd_lib_error_set_handler(quiet);
  }

  std::optional<MixerReading> read() override {
    if (!is_open()) {
      return std::nullopt;
    }
    long low = 0, high = 0, value = 0;
    snd_mixer_selem_get_playback_volume_range(open_->element(), &low, &high);
    snd_mixer_selem_get_playback_volume(open_->element(), SND_MIXER_SCHN_FRONT_LEFT, &value);
    MixerReading reading;
    reading.percent = high > low ? static_cast<int>(std::lround(100.0 * static_cast<double>(value - low) /
                                                                static_cast<double>(high - low)))
                                 : 0;
    int on = 1;
    if (snd_mixer_selem_has_playback_switch(open_->element())) {
      snd_mixer_selem_get_playback_switch(open_->element(), SND_MIXER_SCHN_FRONT_LEFT, &on);
    }
    reading.muted = on == 0;
    return reading;
  }

  bool set_percent(int percent) override {
    if (!is_open()) {
      return false;
    }
    long low = 0, high = 0;
    snd_mixer_selem_get_playback_volume_range(open_->element(), &low, &high);
    const long value = low + std::lround(static_cast<double>(high - low) * percent / 100.0);
    return succeeded(snd_mixer_selem_set_playback_volume_all(open_->element(), value));
  }

  bool set_muted(bool muted) override {
    if (!is_open()) {
      return false;
    }
    if (!snd_mixer_selem_has_playback_switch(open_->element())) {
      problem_ = "sound mixer: " + element_ + " has no mute switch";
      return false;
    }
    return succeeded(snd_mixer_selem_set_playback_switch_all(open_->element(), muted ? 0 : 1));
  }

  const std::string& problem() const override { return problem_; }

  std::vector<pollfd> descriptors() override {
    if (!open_) {
      return {};
    }
    const int count = snd_mixer_poll_descriptors_count(open_->mixer());
    std::vector<pollfd> watched(count > 0 ? static_cast<size_t>(count) : 0);
    const int filled = snd_mixer_poll_descriptors(open_->mixer(), watched.data(), count > 0 ? count : 0);
    watched.resize(filled > 0 ? static_cast<size_t>(filled) : 0);
    return watched;
  }

  void handle_events(const std::vector<pollfd>& polled) override {
    const bool heard =
        std::any_of(polled.begin(), polled.end(), [](const pollfd& one) { return one.revents != 0; });
    if (!open_ || !heard) {
      return;
    }
    std::vector<pollfd> seen = polled;
    unsigned short events = 0;
    int result = snd_mixer_poll_descriptors_revents(open_->mixer(), seen.data(),
                                                    static_cast<unsigned int>(seen.size()), &events);
    if (result >= 0 && (events & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      result = -ENODEV;  // the card went, or the sound server
    } else if (result >= 0 && (events & POLLIN) != 0) {
      result = snd_mixer_handle_events(open_->mixer());
    }
    succeeded(result);
  }

  void retry() override { may_open_ = true; }

 private:
  // Opens the mixer when it is closed and may be tried; one try after each retry() or error.
  bool is_open() {
    if (!open_ && may_open_) {
      may_open_ = false;
      auto opened = std::make_unique<OpenMixer>(device_, element_, problem_);
      if (opened->element() != nullptr) {
        open_ = std::move(opened);
        problem_.clear();
      }
    }
    return open_ != nullptr;
  }

  // An error closes the mixer; the next call opens it afresh.
  bool succeeded(int result) {
    if (result >= 0) {
      return true;
    }
    problem_ = "sound mixer: " + std::string(snd_strerror(result));
    open_.reset();
    may_open_ = true;
    return false;
  }

  std::string device_;
  std::string element_;
  std::string problem_;
  std::unique_ptr<OpenMixer> open_;
  bool may_open_ = true;
};

}  // namespace

std::unique_ptr<Mixer> alsa_mixer(std::string device, std::string element) {
  return std::make_unique<AlsaMixer>(std::move(device), std::move(element));
}
