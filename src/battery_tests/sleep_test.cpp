#include "battery_tests/sleep_test.h"

#include <initializer_list>

#include "../../res/control_ids.h"

void update_wake_fields(PanelState& state, const PanelPorts& ports) {
  const BOOL enable = ports.dialog.IsDlgButtonChecked(state.panel, IDC_WAKE_UP_AFTER) == BST_CHECKED;
  for (int id : {IDC_WAKE_DAYS, IDC_WAKE_HOURS, IDC_WAKE_MINUTES, IDC_WAKE_SECONDS}) {
    ports.dialog.EnableWindow(ports.dialog.GetDlgItem(state.panel, id), enable);
  }
}

// The tests themselves arrive with the power actions; until then a test is never armed.
void start_sleep_test(PanelState&, const PanelPorts&, int) {}
void finish_sleep_test(PanelState&, const PanelPorts&) {}
