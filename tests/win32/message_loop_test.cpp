// The message loop's exit code, with a GetMessageW that follows a script.
#include <gtest/gtest.h>

#include <vector>

#include "win32/message_loop.h"

namespace {

struct Step {
  BOOL result;  // GetMessageW's: 1 a message, 0 the quit message, -1 a failure that leaves MSG as it was
  UINT message;
  WPARAM wparam;
};
const std::vector<Step>* script = nullptr;
size_t next_step = 0;

BOOL WINAPI scripted_get_message(MSG* message, HWND, UINT, UINT) {
  const Step& step = script->at(next_step++);
  if (step.result != -1) {
    *message = {};
    message->message = step.message;
    message->wParam = step.wparam;
  }
  return step.result;
}

// Leaves a pattern where the loop's frame will be, as earlier calls leave their data on a real stack.
void paint_stack() {
  volatile unsigned char area[4096];
  for (volatile unsigned char& byte : area) {
    byte = 0xA5;
  }
}
void (*volatile stack_painter)() = paint_stack;

TEST(MessageLoopTest, ExitsWithTheQuitMessagesCodeAndZeroWithoutOne) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    int exit_code;
  } cases[] = {
      {"quit after a message", {{TRUE, WM_NULL, 7}, {FALSE, WM_QUIT, 5}}, 5},
      {"GetMessageW fails at once", {{-1, 0, 0}}, 0},
      {"GetMessageW fails after a message", {{TRUE, WM_NULL, 7}, {-1, 0, 0}}, 0},
  };
  const PanelState state;  // no panel: every message is dispatched
  for (const auto& test : cases) {
    script = &test.steps;
    next_step = 0;
    stack_painter();
    EXPECT_EQ(run_message_loop(state, scripted_get_message), test.exit_code) << test.name;
    EXPECT_EQ(next_step, test.steps.size()) << test.name;
  }
}

}  // namespace
