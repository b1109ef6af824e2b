// One launch of Chargewright.exe as the checks see it: the process, its host window and the panel.
#pragma once

#include <windows.h>

#include <string>

#include "check_log.h"
#include "launched_program.h"

// Seconds since midnight from a "Chargewright - HH:MM:SS" title, or -1 when it has another form.
int clock_title_seconds(const std::string& title);

class PanelRun {
 public:
  // Starts the program and records whether its host window and panel appeared. An empty
  // `current_directory` lets the program inherit the driver's.
  PanelRun(CheckLog& log, const std::wstring& exe, const char* name,
           const std::wstring& current_directory = {});

  bool ready() const { return host_ != nullptr && panel_ != nullptr; }
  HWND host() const { return host_; }
  HWND panel() const { return panel_; }
  HWND control(int id) const { return GetDlgItem(panel_, id); }
  std::string text(int id) const;
  const LaunchedProgram& program() const { return program_; }
  const std::string& name() const { return name_; }

  void expect_still_up(const std::string& after);
  // Still up, and still serving its messages: the panel answers WM_GETTEXT and the clock title
  // moves on within a few seconds.
  void expect_responsive(const std::string& after);
  void expect_exit_code_zero(const std::string& after);

 private:
  CheckLog& log_;
  LaunchedProgram program_;
  std::string name_;
  HWND host_ = nullptr;
  HWND panel_ = nullptr;
};
