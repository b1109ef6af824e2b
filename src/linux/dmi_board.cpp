#include "linux/dmi_board.h"

#include "linux/battery_figures.h"

namespace {

constexpr size_t kDmiFieldLimit = 256;

std::u16string read_field(SysfsFiles& files, const std::string& path) {
  const auto bytes = files.read(path, kDmiFieldLimit);
  std::u16string text;
  if (bytes) {
    for (char c : printable_ascii(*bytes)) {
      text.push_back(static_cast<char16_t>(c));
    }
  }
  return text;
}

}  // namespace

BaseBoardRecord read_dmi_board(SysfsFiles& files, const std::string& root) {
  BaseBoardRecord board;
  board.manufacturer = read_field(files, root + "/board_vendor");
  board.product = read_field(files, root + "/board_name");
  board.serial_number = read_field(files, root + "/board_serial");
  return board;
}

std::unique_ptr<WmiPort> dmi_wmi_port(SysfsFiles& files, const std::string& root) {
  return std::make_unique<BaseBoardWmiPort>(read_dmi_board(files, root));
}
