#include "terminal/panel_keys.h"

#include "panel/panel.h"

namespace {

struct KeyTarget {
  TerminalDialog& dialog;
  Laptop& laptop;
  PanelState& state;
  const PanelPorts& ports;
};

struct PanelKey {
  InputEvent::Kind kind;
  void (*action)(const InputEvent& event, const KeyTarget& target);
};

void focus_next(const InputEvent&, const KeyTarget& target) {
  target.dialog.focus_next();
}

void focus_previous(const InputEvent&, const KeyTarget& target) {
  target.dialog.focus_previous();
}

void type_or_press_mnemonic(const InputEvent& event, const KeyTarget& target) {
  if (target.dialog.focus_in_number_field()) {
    target.dialog.type_character(event.character);
  } else {
    // Outside an edit field a dialog takes a mnemonic letter without Alt.
    target.dialog.press_mnemonic(event.character);
  }
}

// Plugging or unplugging the adapter: Windows then broadcasts the change of power source. Only the
// simulated laptop has an adapter to plug.
void toggle_ac_adapter(const InputEvent&, const KeyTarget& target) {
  if (target.laptop.toggle_ac_adapter()) {
    handle_power_broadcast(target.state, target.ports);
  }
}

// Paging, Home and End, a resize and no event at all do nothing on the panel.
constexpr PanelKey kPanelKeys[] = {
    {InputEvent::Kind::next, focus_next},
    {InputEvent::Kind::down, focus_next},
    {InputEvent::Kind::right, focus_next},
    {InputEvent::Kind::previous, focus_previous},
    {InputEvent::Kind::up, focus_previous},
    {InputEvent::Kind::left, focus_previous},
    {InputEvent::Kind::enter,
     [](const InputEvent&, const KeyTarget& target) { target.dialog.press_enter(); }},
    {InputEvent::Kind::escape,
     [](const InputEvent&, const KeyTarget& target) { target.dialog.press_escape(); }},
    {InputEvent::Kind::space,
     [](const InputEvent&, const KeyTarget& target) { target.dialog.press_space(); }},
    {InputEvent::Kind::backspace,
     [](const InputEvent&, const KeyTarget& target) { target.dialog.press_backspace(); }},
    {InputEvent::Kind::character, type_or_press_mnemonic},
    {InputEvent::Kind::alt_character,
     [](const InputEvent& event, const KeyTarget& target) { target.dialog.press_mnemonic(event.character); }},
    {InputEvent::Kind::toggle_ac, toggle_ac_adapter},
    {InputEvent::Kind::mouse_click,
     [](const InputEvent& event, const KeyTarget& target) { target.dialog.click(event.row, event.column); }},
};

}  // namespace

bool handle_event(const InputEvent& event, TerminalDialog& dialog, Laptop& laptop, PanelState& state,
                  const PanelPorts& ports) {
  if (event.kind == InputEvent::Kind::interrupt) {
    return false;
  }
  const KeyTarget target{dialog, laptop, state, ports};
  for (const PanelKey& key : kPanelKeys) {
    if (key.kind == event.kind) {
      key.action(event, target);
      break;
    }
  }
  return true;
}
