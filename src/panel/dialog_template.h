// The panel's dialog template as data: the same 56 controls, in the same order, as res/chargewright.rc.
// The terminal host renders from it; a test checks it against the template compiled into the program.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/win_types.h"

enum class ControlKind { push_button, check_box, group_box, label, read_only_field, delay_field };

struct ControlTemplate {
  int id;  // -1: a control that no operation addresses
  ControlKind kind;
  int x, y, width, height;  // dialog units
  const char16_t* text;
};

struct ControlStyles {
  const char* window_class;  // "BUTTON", "STATIC" or "EDIT"
  uint32_t style;
  uint32_t ex_style;
};

constexpr size_t kControlCount = 56;
constexpr int kPanelWidth = 293;  // dialog units
constexpr int kPanelHeight = 273;
constexpr uint32_t kPanelStyle = 0x50800048;  // WS_CHILD | WS_VISIBLE | WS_BORDER | DS_SETFONT | DS_FIXEDSYS
constexpr uint16_t kPanelLanguage = 1028;
constexpr const char16_t* kPanelTemplateName = u"CHARGEWRIGHT";
constexpr const char16_t* kPanelFontName = u"MS Shell Dlg";
constexpr int kPanelFontPoints = 10;

extern const ControlTemplate kPanelControls[kControlCount];

ControlStyles styles_of(ControlKind kind);
const ControlTemplate* find_control(int id);
