// The main window's raw data map plot ("VE Area Plot", `Pic`) written as a PNG picture.
// Available when tallimar-batch is built with Qt (TALLIMAR_BUILD_UI); otherwise it refuses.
#pragma once

#include <string>

namespace tallimar::workspace {
struct Workspace;
}

namespace tallimar::batch {

// Draws the plot of the workspace's raw data map with its settings' scale at the laid-out
// size of `Pic` (4500 x 2500 twips: 300 x 167 pixels) and writes it to `path` through a
// temporary file. False, with `why` set and any existing file left alone, on failure.
bool writeMainPlotPng(const workspace::Workspace& workspace, const std::string& path,
                      std::string& why);

}  // namespace tallimar::batch
