// The secondary windows of the program, connected to the main window's menu entries.
#pragma once

namespace tallimar::ui {

class MainWindow;

// Tells the main window how to open each secondary window that exists: "Modify VE Map"
// opens frmCalculateMap and "Acquire Data" frmAcquire, which enable the main window's menus
// again when they close; "Gauge Exerciser" opens Form1.
void connectProgramWindows(MainWindow& mainWindow);

}  // namespace tallimar::ui
