// Prints the C++ panel table (kPanelControls with styles_of) for check_resources.py, which compares
// it with the dialog template compiled into Chargewright.exe. One tab-separated line per record:
//   dialog  NAME  LANGUAGE  STYLE  WIDTH  HEIGHT  FONT  POINTS
//   control INDEX  ID  CLASS  STYLE  EXSTYLE  X  Y  WIDTH  HEIGHT  TEXT
// Non-ASCII text units are written as \uXXXX.
#include <cstdio>
#include <string>

#include "panel/dialog_template.h"

namespace {

std::string printable(const char16_t* text) {
  std::string result;
  for (; *text != 0; ++text) {
    if (*text >= 0x20 && *text < 0x7F && *text != u'\\') {
      result += static_cast<char>(*text);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(*text));
      result += escaped;
    }
  }
  return result;
}

}  // namespace

int main() {
  std::printf("dialog\t%s\t%u\t0x%08X\t%d\t%d\t%s\t%d\n", printable(kPanelTemplateName).c_str(),
              static_cast<unsigned>(kPanelLanguage), static_cast<unsigned>(kPanelStyle), kPanelWidth,
              kPanelHeight, printable(kPanelFontName).c_str(), kPanelFontPoints);
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlTemplate& control = kPanelControls[i];
    const ControlStyles styles = styles_of(control.kind);
    std::printf("control\t%u\t%d\t%s\t0x%08X\t0x%08X\t%d\t%d\t%d\t%d\t%s\n", static_cast<unsigned>(i),
                control.id, styles.window_class, static_cast<unsigned>(styles.style),
                static_cast<unsigned>(styles.ex_style), control.x, control.y, control.width, control.height,
                printable(control.text).c_str());
  }
  return 0;
}
