// The strip's volume on the real laptop: a mixer tells of changes made elsewhere through its poll
// descriptors, which the main loop's wait hears; a mixer that cannot be opened offers none.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "linux/linux_laptop.h"
#include "sysfs_fixture.h"

namespace {

// An address no bus listens on: nothing in these tests can reach a logind.
constexpr char kNoBus[] = "unix:path=/nonexistent/chargewright-test-bus";

// A sound card whose control device says "changed" by a byte in a pipe, as ALSA's descriptors become
// readable when another program moves the volume.
class PipeMixer final : public Mixer {
 public:
  PipeMixer() { EXPECT_EQ(::pipe2(ends_, O_CLOEXEC | O_NONBLOCK), 0); }
  ~PipeMixer() override {
    ::close(ends_[0]);
    ::close(ends_[1]);
  }
  PipeMixer(const PipeMixer&) = delete;
  PipeMixer& operator=(const PipeMixer&) = delete;

  std::optional<MixerReading> read() override { return reading_; }
  bool set_percent(int) override { return false; }
  bool set_muted(bool) override { return false; }
  const std::string& problem() const override { return problem_; }
  std::vector<pollfd> descriptors() override { return {{ends_[0], POLLIN, 0}}; }
  void handle_events(const std::vector<pollfd>& polled) override {
    for (const pollfd& one : polled) {
      char percent = 0;
      while ((one.revents & POLLIN) != 0 && ::read(one.fd, &percent, 1) == 1) {
        reading_.percent = percent;
      }
    }
  }

  void change_elsewhere(char percent) { EXPECT_EQ(::write(ends_[1], &percent, 1), 1); }

 private:
  int ends_[2] = {-1, -1};
  MixerReading reading_{40, false};
  std::string problem_;
};

class NoDisplay final : public DisplayPower {
 public:
  bool set_on(bool) override { return false; }
  std::string unavailable() const override { return "none here"; }
  bool on() const override { return true; }
};

TEST(StripDevices, AVolumeMovedElsewhereReachesTheStripThroughTheWait) {
  SysfsFixture tree;
  LinuxLaptopPaths paths;
  paths.power_supply_root = tree.supplies();
  paths.dmi_root = tree.path("dmi");
  paths.backlight_root = tree.path("backlight");
  paths.rtc_root = tree.path("rtc/rtc0");
  paths.rfkill = {tree.path("net"), tree.path("rfkill"), tree.path("dev-rfkill")};
  paths.system_bus_address = kNoBus;
  auto mixer = std::make_unique<PipeMixer>();
  PipeMixer& card = *mixer;
  LinuxLaptop laptop(paths, {std::move(mixer), std::make_unique<NoDisplay>()});
  EXPECT_EQ(laptop.describe().volume, u"volume 40 %");

  card.change_elsewhere(65);
  std::vector<pollfd> watched = laptop.device_descriptors();
  ASSERT_GT(::poll(watched.data(), watched.size(), 1000), 0);
  laptop.devices_ready(watched);
  EXPECT_EQ(laptop.describe().volume, u"volume 65 %");

  watched = laptop.device_descriptors();
  EXPECT_EQ(::poll(watched.data(), watched.size(), 0), 0) << "the change was read once";
}

TEST(StripDevices, AMixerThatCannotBeOpenedOffersNoDescriptorsAndSaysWhy) {
  const std::unique_ptr<Mixer> mixer = alsa_mixer("chargewright-no-such-device");
  EXPECT_FALSE(mixer->read());
  EXPECT_TRUE(mixer->descriptors().empty());
  EXPECT_NE(mixer->problem().find("chargewright-no-such-device"), std::string::npos) << mixer->problem();
}

}  // namespace
