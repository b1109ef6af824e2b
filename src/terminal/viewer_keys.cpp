#include "terminal/viewer_keys.h"

namespace {

struct ViewerKey {
  InputEvent::Kind kind;
  void (*action)(const InputEvent& event, TextViewer& viewer);
};

constexpr ViewerKey kViewerKeys[] = {
    {InputEvent::Kind::escape, [](const InputEvent&, TextViewer& viewer) { viewer.close(); }},
    {InputEvent::Kind::character,
     [](const InputEvent& event, TextViewer& viewer) {
       if (event.character == u'q' || event.character == u'Q') {
         viewer.close();
       }
     }},
    {InputEvent::Kind::up, [](const InputEvent&, TextViewer& viewer) { viewer.scroll_lines(-1); }},
    {InputEvent::Kind::down, [](const InputEvent&, TextViewer& viewer) { viewer.scroll_lines(+1); }},
    {InputEvent::Kind::left, [](const InputEvent&, TextViewer& viewer) { viewer.scroll_columns(-1); }},
    {InputEvent::Kind::right, [](const InputEvent&, TextViewer& viewer) { viewer.scroll_columns(+1); }},
    {InputEvent::Kind::page_up, [](const InputEvent&, TextViewer& viewer) { viewer.scroll_pages(-1); }},
    {InputEvent::Kind::page_down, [](const InputEvent&, TextViewer& viewer) { viewer.scroll_pages(+1); }},
    {InputEvent::Kind::home, [](const InputEvent&, TextViewer& viewer) { viewer.scroll_to_start(); }},
    {InputEvent::Kind::end, [](const InputEvent&, TextViewer& viewer) { viewer.scroll_to_end(); }},
};

// Events that are not the viewer's: Ctrl+C is the program's, F2 the simulated hardware's.
constexpr InputEvent::Kind kPassedOn[] = {InputEvent::Kind::interrupt, InputEvent::Kind::toggle_ac,
                                          InputEvent::Kind::resize, InputEvent::Kind::none};

}  // namespace

bool handle_viewer_event(const InputEvent& event, TextViewer& viewer) {
  for (const InputEvent::Kind kind : kPassedOn) {
    if (kind == event.kind) {
      return false;
    }
  }
  for (const ViewerKey& key : kViewerKeys) {
    if (key.kind == event.kind) {
      key.action(event, viewer);
      break;
    }
  }
  return true;  // any other key too: the panel behind the viewer has no focus
}
