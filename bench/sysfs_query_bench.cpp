// The panel's battery query over the sysfs battery port, against a tree with an adapter and two
// batteries: queries per second, and files opened, listings and reads per query counted by the port's
// file access. The port is told of supplies that come or go, as the uevent monitor tells the program.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "battery/battery_query.h"
#include "linux/sysfs_battery_port.h"

namespace {

const char* const kBattery =
    "POWER_SUPPLY_NAME=BAT%\nPOWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_"
    "PRESENT=1\n"
    "POWER_SUPPLY_TECHNOLOGY=Li-ion\nPOWER_SUPPLY_CYCLE_COUNT=87\nPOWER_SUPPLY_VOLTAGE_MIN_DESIGN=11580000\n"
    "POWER_SUPPLY_VOLTAGE_NOW=12420000\nPOWER_SUPPLY_POWER_NOW=15250000\nPOWER_SUPPLY_ENERGY_FULL_DESIGN="
    "57000000\n"
    "POWER_SUPPLY_ENERGY_FULL=51870000\nPOWER_SUPPLY_ENERGY_NOW=31020000\nPOWER_SUPPLY_CAPACITY=59\n"
    "POWER_SUPPLY_CAPACITY_LEVEL=Normal\nPOWER_SUPPLY_MODEL_NAME=5B10W13930\nPOWER_SUPPLY_MANUFACTURER=SMP\n"
    "POWER_SUPPLY_SERIAL_NUMBER=417\n";

std::filesystem::path make_tree() {
  std::string pattern = (std::filesystem::temp_directory_path() / "chargewright-bench-XXXXXX").string();
  const std::filesystem::path root = ::mkdtemp(pattern.data());
  for (const char* name : {"AC", "BAT0", "BAT1"}) {
    std::filesystem::create_directories(root / name);
    std::ofstream uevent(root / name / "uevent");
    if (std::string(name) == "AC") {
      uevent << "POWER_SUPPLY_NAME=AC\nPOWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n";
    } else {
      uevent << kBattery;
    }
  }
  return root;
}

void BM_SysfsBatteryQuery(benchmark::State& state) {
  const std::filesystem::path root = make_tree();
  PosixSysfsFiles files;
  SysfsBatteryPort port(files, root.string());
  port.set_told_of_supply_changes(true);
  BatterySnapshot snapshot{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(query_battery(snapshot, port));
  }
  const double queries = static_cast<double>(state.iterations());
  state.counters["files_per_query"] = static_cast<double>(files.files_opened()) / queries;
  state.counters["directories_per_query"] = static_cast<double>(files.directories_opened()) / queries;
  state.counters["reads_per_query"] = static_cast<double>(files.reads()) / queries;
  state.counters["queries_per_second"] = benchmark::Counter(queries, benchmark::Counter::kIsRate);
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_SysfsBatteryQuery);

}  // namespace
