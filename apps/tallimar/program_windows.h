// The program's wiring of its windows: which menu entry of the main window opens which
// secondary window, and what that window tells the main window back. The windows know
// nothing of each other; only this file includes more than one window folder.
#pragma once

namespace tallimar::ui {

class MainWindow;

// Tells the main window how to open each secondary window that exists: "Modify VE Map"
// opens frmCalculateMap, which enables the main window's menus again when it closes and
// reports a language file it cannot read in the main window's status list; "Settings" (in
// either window) opens frmSettings for that window; "WB Factor Tables" opens frmMakeWBFactor;
// "Acquire Data" opens frmAcquire, which gives the menus back when it closes; "Gauge
// Exerciser" opens Form1.
void connectProgramWindows(MainWindow& mainWindow);

}  // namespace tallimar::ui
