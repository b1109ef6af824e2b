#include "panel/dialog_template.h"

const ControlTemplate kPanelControls[kControlCount] = {
    {1000, ControlKind::push_button, 229, 250, 50, 14, u"E&xit"},
    {-1, ControlKind::label, 145, 96, 66, 10, u"Battery Life Percent"},
    {1007, ControlKind::read_only_field, 217, 95, 56, 13, u""},
    {-1, ControlKind::label, 145, 35, 70, 10, u"FullCharged Capacity"},
    {1008, ControlKind::read_only_field, 217, 35, 56, 13, u""},
    {-1, ControlKind::label, 145, 50, 70, 10, u"Remaining Capacity"},
    {1009, ControlKind::read_only_field, 217, 50, 56, 13, u""},
    {-1, ControlKind::label, 145, 66, 70, 10, u"Rate"},
    {1010, ControlKind::read_only_field, 217, 66, 56, 13, u""},
    {-1, ControlKind::label, 145, 111, 70, 10, u"Estimated Time"},
    {1011, ControlKind::read_only_field, 217, 110, 56, 13, u""},
    {-1, ControlKind::label, 20, 96, 52, 10, u"Dafault Alert 1"},
    {1005, ControlKind::read_only_field, 78, 95, 46, 13, u""},
    {-1, ControlKind::label, 20, 111, 52, 10, u"Default Alert 2"},
    {1006, ControlKind::read_only_field, 78, 110, 46, 13, u""},
    {-1, ControlKind::label, 20, 20, 53, 10, u"Ac on Line"},
    {1001, ControlKind::read_only_field, 78, 20, 46, 13, u""},
    {-1, ControlKind::label, 20, 66, 52, 10, u"Battery Critical"},
    {1002, ControlKind::read_only_field, 78, 66, 46, 13, u""},
    {-1, ControlKind::label, 20, 35, 53, 10, u"Charging"},
    {1003, ControlKind::read_only_field, 78, 35, 46, 13, u""},
    {-1, ControlKind::label, 20, 50, 53, 10, u"Discharging"},
    {1004, ControlKind::read_only_field, 78, 50, 46, 13, u""},
    {1036, ControlKind::group_box, 11, 7, 271, 123, u"Battery Status"},
    {-1, ControlKind::label, 145, 80, 71, 10, u"Rate / Min"},
    {1020, ControlKind::read_only_field, 217, 80, 56, 13, u""},
    {1019, ControlKind::push_button, 56, 167, 50, 14, u"S1 / Save"},
    {1021, ControlKind::push_button, 56, 149, 29, 14, u"S4"},
    {1022, ControlKind::push_button, 21, 149, 29, 14, u"S3"},
    {1023, ControlKind::push_button, 21, 167, 29, 14, u"S5"},
    {-1, ControlKind::group_box, 10, 137, 273, 50, u"Battery Test"},
    {1025, ControlKind::push_button, 53, 206, 29, 14, u"X"},
    {1026, ControlKind::push_button, 21, 206, 31, 14, u"Dark"},
    {1027, ControlKind::push_button, 83, 206, 29, 14, u"Bright"},
    {-1, ControlKind::group_box, 10, 194, 272, 49, u"Device Setting"},
    {1028, ControlKind::push_button, 150, 206, 29, 14, u"Mute"},
    {1029, ControlKind::push_button, 118, 206, 31, 14, u"<<"},
    {1030, ControlKind::push_button, 181, 206, 29, 14, u">>"},
    {1031, ControlKind::push_button, 83, 223, 58, 14, u"Mobility Center"},
    {1032, ControlKind::push_button, 21, 223, 58, 14, u"Connect Display"},
    {1033, ControlKind::push_button, 215, 206, 58, 14, u"Wireless"},
    {-1, ControlKind::label, 145, 20, 70, 10, u"Design Capacity"},
    {1012, ControlKind::read_only_field, 217, 20, 56, 13, u""},
    {-1, ControlKind::label, 20, 80, 52, 10, u"Voltage"},
    {1013, ControlKind::read_only_field, 78, 80, 46, 13, u""},
    {1018, ControlKind::label, 12, 249, 186, 17, u"Static"},
    {1024, ControlKind::label, 115, 168, 80, 12, u""},
    {1037, ControlKind::check_box, 95, 152, 57, 10, u"Wake up after"},
    {1039, ControlKind::delay_field, 181, 152, 13, 11, u""},
    {1040, ControlKind::delay_field, 206, 152, 13, 11, u""},
    {1041, ControlKind::delay_field, 231, 152, 13, 11, u""},
    {1034, ControlKind::label, 196, 154, 8, 9, u"H"},
    {1035, ControlKind::label, 221, 153, 8, 9, u"M"},
    {1038, ControlKind::label, 246, 153, 8, 9, u"S"},
    {1042, ControlKind::delay_field, 156, 152, 13, 11, u""},
    {1043, ControlKind::label, 171, 154, 8, 9, u"D"},
};

ControlStyles styles_of(ControlKind kind) {
  constexpr uint32_t ws_child = 0x40000000, ws_visible = 0x10000000, ws_tabstop = 0x00010000,
                     ws_group = 0x00020000, ws_border = 0x00800000, ws_disabled = 0x08000000;
  switch (kind) {
    case ControlKind::push_button:
      return {"BUTTON", ws_child | ws_visible | ws_tabstop | 0x0 /* BS_PUSHBUTTON */, 0};
    case ControlKind::check_box:
      return {"BUTTON", ws_child | ws_visible | ws_tabstop | 0x3 /* BS_AUTOCHECKBOX */, 0};
    case ControlKind::group_box:
      return {"BUTTON", ws_child | ws_visible | 0x7 /* BS_GROUPBOX */, 0};
    case ControlKind::label:
      return {"STATIC", ws_child | ws_visible | ws_group | 0x0 /* SS_LEFT */, 0};
    case ControlKind::read_only_field:
      return {"EDIT",
              ws_child | ws_visible | ws_border | ws_tabstop | 0x0800 /* ES_READONLY */ |
                  0x0080 /* ES_AUTOHSCROLL */,
              0};
    case ControlKind::delay_field:
      return {"EDIT", ws_child | ws_visible | ws_disabled | ws_border | ws_tabstop | 0x2000 /* ES_NUMBER */,
              0x00001000 /* WS_EX_RIGHT */};
  }
  return {"STATIC", 0, 0};
}

const ControlTemplate* find_control(int id) {
  for (const ControlTemplate& control : kPanelControls) {
    if (control.id == id) {
      return &control;
    }
  }
  return nullptr;
}
