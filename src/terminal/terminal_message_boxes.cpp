#include "terminal/terminal_message_boxes.h"

bool TerminalMessageBoxes::show_and_wait(const std::u16string& caption, const std::u16string& text,
                                         int wait_ms) {
  if (stop_requested_ != 0) {
    return true;  // the program is ending: let the logic run on to the main loop
  }
  const MessageBoxText box{caption, text};
  screen_.draw(dialog_, laptop_(), viewer_, &box);
  const InputEvent event = screen_.wait_for_input(wait_ms);
  switch (event.kind) {
    case InputEvent::Kind::enter:
    case InputEvent::Kind::escape:
    case InputEvent::Kind::space:
      return true;
    case InputEvent::Kind::interrupt:
      stop_requested_ = 1;  // Ctrl+C still ends the program, once the box is out of the way
      return true;
    case InputEvent::Kind::mouse_click:
      return screen_.clicks_message_box_button(event);
    default:
      return false;
  }
}
