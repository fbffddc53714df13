// The start-up sequence of the main window: translation, settings, factor tables, the
// VE table's initial bins, then "Ready". Core runs the sequence and calls back into the
// window for the steps that touch it, so that the order of every step and status line is
// fixed in one place and tallimar-batch can run the same sequence without a window.
#pragma once

#include <string>

#include "commands/command_result.h"
#include "common/status_log.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

// The window's part of start-up. Every step does nothing by default.
class StartupWindow {
 public:
  virtual ~StartupWindow() = default;
  // Lists the *.Lang files of the program's folder in the "Language" submenu.
  virtual void fillLanguageMenu() {}
  // Sets the window's height and centres it in the desktop work area.
  virtual void placeWindow() {}
  // Sets the title "Tallimar V<major>.<minor>.<revision>".
  virtual void setTitle() {}
  // Reads the language file (its failure line goes to the status log) and re-captions.
  virtual void applyLanguage(const std::string& language) { (void)language; }
  // Shows RPMMax, RPMMin and MAPMax in the labels and sets the plot surface's scale.
  virtual void showPlotLimits(const settings::Settings& settings) { (void)settings; }
  // Checks or unchecks the "Print Preview" entry.
  virtual void setPrintPreview(bool preview) { (void)preview; }
};

// The status line written when no folder of factor tables is set.
inline constexpr const char* kNoIncPathWarning =
    "(Warning) No Path to *.inc specified (using raw ADC counts)";

// Runs the start-up sequence once: reads every setting into workspace.settings, fills the
// factor tables with the identity and loads them from INCPath (or warns), sets the VE
// table's size from the settings and its bins to the start-up values, and appends "Ready".
// A factor table that cannot be read leaves its identity table and a status line; start-up
// always runs to its end (Done).
CommandResult runStartup(workspace::Workspace& workspace, const settings::SettingsStore& store,
                         common::StatusLog& log, StartupWindow& window);

}  // namespace tallimar::commands
