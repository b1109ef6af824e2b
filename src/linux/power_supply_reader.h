// The machine's power supplies, read for each battery query at the floor of one read per supply: the
// folder is listed and each supply's uevent opened once, then re-read from its start while the files
// stay open. The folder is listed again only when told that supplies came or went (or, told nothing,
// on every read), and when a file held open fails because its supply went away. The attributes that
// change only when written (the type, the alarm) are read when a supply is first seen and on relist().
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "linux/power_supplies.h"
#include "linux/sysfs_files.h"

class PowerSupplyReader {
 public:
  PowerSupplyReader(SysfsFiles& files, std::string root) : files_(files), root_(std::move(root)) {}

  // Every supply under the root, in name order. A supply whose uevent cannot be read is left out.
  std::vector<PowerSupply> read();

  // Whether someone calls relist() when supplies come or go; until then every read lists the folder.
  void set_told_of_changes(bool told) { told_of_changes_ = told; }
  // The next read lists the folder, opens the files and reads the static attributes anew.
  void relist() {
    listed_ = false;
    static_read_ = false;
  }

 private:
  struct OpenSupply {
    std::string name;
    std::unique_ptr<SysfsOpenFile> uevent;
    std::optional<std::string> type_file;  // only for kernels that leave the type out of the uevent
    std::optional<int64_t> alarm;
  };

  std::vector<PowerSupply> list();
  void read_static(const std::string& directory, OpenSupply& open, PowerSupply& supply);
  std::optional<PowerSupply> read_open(const OpenSupply& open) const;

  SysfsFiles& files_;
  std::string root_;
  std::vector<OpenSupply> open_;
  bool told_of_changes_ = false;
  bool listed_ = false;
  bool static_read_ = false;  // a listing may take the type and alarm from the one before
};
