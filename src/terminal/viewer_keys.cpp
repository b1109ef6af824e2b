#include "terminal/viewer_keys.h"

bool handle_viewer_event(const InputEvent& event, TextViewer& viewer) {
  switch (event.kind) {
    case InputEvent::Kind::escape:
      viewer.close();
      return true;
    case InputEvent::Kind::character:
      if (event.character == u'q' || event.character == u'Q') {
        viewer.close();
      }
      return true;
    case InputEvent::Kind::up:
      viewer.scroll_lines(-1);
      return true;
    case InputEvent::Kind::down:
      viewer.scroll_lines(+1);
      return true;
    case InputEvent::Kind::left:
      viewer.scroll_columns(-1);
      return true;
    case InputEvent::Kind::right:
      viewer.scroll_columns(+1);
      return true;
    case InputEvent::Kind::page_up:
      viewer.scroll_pages(-1);
      return true;
    case InputEvent::Kind::page_down:
      viewer.scroll_pages(+1);
      return true;
    case InputEvent::Kind::home:
      viewer.scroll_to_start();
      return true;
    case InputEvent::Kind::end:
      viewer.scroll_to_end();
      return true;
    case InputEvent::Kind::interrupt:  // the program's, not the viewer's
    case InputEvent::Kind::toggle_ac:  // the simulated hardware's
    case InputEvent::Kind::resize:
    case InputEvent::Kind::none:
      return false;
    default:
      return true;  // the panel behind the viewer has no focus
  }
}
