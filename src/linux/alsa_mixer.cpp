#include <alsa/asoundlib.h>

#include <cmath>

#include "common/scoped_owner.h"
#include "linux/mixer.h"

namespace {

// alsa-lib prints its errors to stderr, over the terminal panel; each call's result says enough.
void quiet(const char*, int, const char*, int, const char*, ...) {}

// An open mixer with its element, closed on every way out.
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
    OpenMixer mixer(device_, element_, problem_);
    if (mixer.element() == nullptr) {
      return std::nullopt;
    }
    long low = 0, high = 0, value = 0;
    snd_mixer_selem_get_playback_volume_range(mixer.element(), &low, &high);
    snd_mixer_selem_get_playback_volume(mixer.element(), SND_MIXER_SCHN_FRONT_LEFT, &value);
    MixerReading reading;
    reading.percent = high > low ? static_cast<int>(std::lround(100.0 * static_cast<double>(value - low) /
                                                                static_cast<double>(high - low)))
                                 : 0;
    int on = 1;
    if (snd_mixer_selem_has_playback_switch(mixer.element())) {
      snd_mixer_selem_get_playback_switch(mixer.element(), SND_MIXER_SCHN_FRONT_LEFT, &on);
    }
    reading.muted = on == 0;
    problem_.clear();
    return reading;
  }

  bool set_percent(int percent) override {
    OpenMixer mixer(device_, element_, problem_);
    if (mixer.element() == nullptr) {
      return false;
    }
    long low = 0, high = 0;
    snd_mixer_selem_get_playback_volume_range(mixer.element(), &low, &high);
    const long value = low + std::lround(static_cast<double>(high - low) * percent / 100.0);
    const int result = snd_mixer_selem_set_playback_volume_all(mixer.element(), value);
    if (result < 0) {
      problem_ = "sound mixer: " + std::string(snd_strerror(result));
      return false;
    }
    return true;
  }

  bool set_muted(bool muted) override {
    OpenMixer mixer(device_, element_, problem_);
    if (mixer.element() == nullptr) {
      return false;
    }
    if (!snd_mixer_selem_has_playback_switch(mixer.element())) {
      problem_ = "sound mixer: " + element_ + " has no mute switch";
      return false;
    }
    const int result = snd_mixer_selem_set_playback_switch_all(mixer.element(), muted ? 0 : 1);
    if (result < 0) {
      problem_ = "sound mixer: " + std::string(snd_strerror(result));
      return false;
    }
    return true;
  }

  const std::string& problem() const override { return problem_; }

 private:
  std::string device_;
  std::string element_;
  std::string problem_;
};

}  // namespace

std::unique_ptr<Mixer> alsa_mixer(std::string device, std::string element) {
  return std::make_unique<AlsaMixer>(std::move(device), std::move(element));
}
