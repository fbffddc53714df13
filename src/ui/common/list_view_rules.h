// How the windows' big lists behave: a status list wraps a long line onto more rows instead
// of scrolling sideways (a horizontal scroll bar would cover its newest line), and a list
// whose size changes (enlarged or restored by a double-click, or the window resized) scrolls
// its newest line back into view.
#pragma once

class QListView;

namespace tallimar::ui {

// Long lines wrap at the list's width; no horizontal scroll bar.
void wrapLongLines(QListView& list);

// After every change of the list's size the last line is scrolled into view.
void keepNewestLineInView(QListView& list);

}  // namespace tallimar::ui
