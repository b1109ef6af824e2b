// A failure's message box runs a modal loop that delivers power broadcasts, ticks and commands. What
// runs inside the box must find every state change complete: the same as running it after the box.
#include <algorithm>
#include <vector>

#include "../../res/control_ids.h"
#include "panel_fixture.h"

namespace {

void press(FakePanel& panel, int id) {
  panel_dialog_message(panel.state, panel.ports, WM_COMMAND, static_cast<WPARAM>(id), 0);
}
void broadcast(FakePanel& panel) {
  handle_power_broadcast(panel.state, panel.ports);
}

constexpr int kBroadcast = 0;  // an operation that is a power broadcast, not a command

enum class Failure { disk_full, log_not_created, timer_not_created };

struct Scenario {
  const char* name;
  std::vector<int> presses_before;  // up to the failure
  Failure failure;
  int operation;  // the one that meets the failure and reports it
};

const Scenario kScenarios[] = {
    {"the after-resume row cannot be written", {IDC_S3}, Failure::disk_full, kBroadcast},
    {"the stop row cannot be written", {IDC_S1_SAVE}, Failure::disk_full, IDC_S1_SAVE},
    {"a second session's log cannot be created",
     {IDC_S1_SAVE, IDC_S1_SAVE},
     Failure::log_not_created,
     IDC_S1_SAVE},
    {"a sleep test over an armed one cannot create its log", {IDC_S3}, Failure::log_not_created, IDC_S3},
    {"the resume timer cannot be created", {}, Failure::timer_not_created, IDC_S4},
};

void operate(FakePanel& panel, const Scenario& scenario) {
  if (scenario.operation == kBroadcast) {
    broadcast(panel);
  } else {
    press(panel, scenario.operation);
  }
}

enum class Delivery { broadcast, minute_of_ticks, same_operation };
const Delivery kDeliveries[] = {Delivery::broadcast, Delivery::minute_of_ticks, Delivery::same_operation};

void deliver(FakePanel& panel, const Scenario& scenario, Delivery delivery) {
  ++panel.clock.now.wSecond;  // the box has been up a while
  switch (delivery) {
    case Delivery::broadcast:
      broadcast(panel);
      break;
    case Delivery::minute_of_ticks:
      panel.ticks(59);
      break;
    case Delivery::same_operation:
      operate(panel, scenario);
      break;
  }
}

// Runs the scenario with the delivery inside the first box, or after the operation; then ends
// whatever still runs, as the user would.
void run(FakePanel& panel, const Scenario& scenario, Delivery delivery, bool inside_the_box) {
  panel_dialog_message(panel.state, panel.ports, WM_INITDIALOG, 0, 0);
  panel.clock.now = {2026, 12, 1, 7, 8, 0, 3, 0};
  panel.power.while_suspended = [&panel] {
    panel.set_capacity(panel.battery.batteries[0].status.Capacity - 300);
    ++panel.clock.now.wHour;
  };
  for (int id : scenario.presses_before) {
    press(panel, id);
  }
  switch (scenario.failure) {
    case Failure::disk_full:
      panel.files.disk_space = 0;
      break;
    case Failure::log_not_created:
      panel.files.create_error = 5;
      break;
    case Failure::timer_not_created:
      panel.dialog.checked = BST_CHECKED;
      panel.power.fail_create_timer = true;
      break;
  }
  if (inside_the_box) {
    panel.dialog.during_next_message_box = [&panel, &scenario, delivery] {
      deliver(panel, scenario, delivery);
    };
  }
  operate(panel, scenario);
  EXPECT_FALSE(panel.dialog.during_next_message_box) << "the operation showed no box";
  if (!inside_the_box) {
    deliver(panel, scenario, delivery);
  }
  panel.files.disk_space = -1;
  panel.files.create_error = 0;
  if (panel.state.s1_active != 0) {
    press(panel, IDC_S1_SAVE);
  }
  broadcast(panel);
}

std::vector<std::u16string> notepad_starts(const FakePanel& panel) {
  std::vector<std::u16string> logs;
  for (const auto& call : panel.files.shell_calls) {
    logs.push_back(call.parameters);
  }
  return logs;
}

std::vector<std::u16string> box_texts(const FakePanel& panel) {
  std::vector<std::u16string> texts;
  for (const auto& box : panel.dialog.message_boxes) {
    texts.push_back(box.text);
  }
  std::sort(texts.begin(), texts.end());  // a box shown inside another comes up before it closes
  return texts;
}

TEST(DeferredReportsTest, WhatABoxDeliversFindsEveryOperationComplete) {
  for (const Scenario& scenario : kScenarios) {
    for (Delivery delivery : kDeliveries) {
      SCOPED_TRACE(testing::Message() << scenario.name << ", delivery " << static_cast<int>(delivery));
      FakePanel inside, after;
      run(inside, scenario, delivery, true);
      run(after, scenario, delivery, false);

      EXPECT_EQ(inside.files.stale_uses, 0);
      for (const auto& file : inside.files.handles) {
        EXPECT_EQ(file->closes, 1) << FakeDialogPort::narrow(file->path);
      }
      EXPECT_EQ(inside.files.files, after.files.files) << "the logs' lines";
      EXPECT_EQ(notepad_starts(inside), notepad_starts(after));
      EXPECT_EQ(box_texts(inside), box_texts(after));
      for (const auto& box : inside.dialog.message_boxes) {
        EXPECT_EQ(box.owner, inside.state.host_window);
      }
    }
  }
}

}  // namespace
