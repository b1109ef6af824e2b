// The keys of the log viewer, which has the keyboard while it is open.
#pragma once

#include "terminal/terminal_screen.h"
#include "terminal/text_viewer.h"

// As Notepad would have the focus: true when the event was the viewer's.
bool handle_viewer_event(const InputEvent& event, TextViewer& viewer);
