// The secondary windows of the program, connected to the main window's menu entries.
#pragma once

namespace tallimar::ui {

class MainWindow;

// Tells the main window how to open each secondary window that exists: "Modify VE Map"
// opens frmCalculateMap, which enables the main window's menus again when it closes;
// "Settings" (in either window) opens frmSettings for that window; "WB Factor Tables" opens
// frmMakeWBFactor.
void connectProgramWindows(MainWindow& mainWindow);

}  // namespace tallimar::ui
