// Writing a DrawList as a PNG picture.
#pragma once

#include <QString>

#include "plot/draw_list.h"

namespace tallimar::ui {

// Paints the list at widthPx x heightPx pixels and writes it to `path` as a PNG, through a
// temporary file that replaces `path` only when complete. Sizes must be 1..16384 pixels.
// Returns false (with a reason in *error when given) and leaves any existing file untouched
// when the size is refused or the file cannot be written.
bool savePng(const plot::DrawList& list, int widthPx, int heightPx, const QString& path,
             QString* error = nullptr);

// The same at the list's laid-out size on a 96-dpi screen (`Pic`: 300 x 167, `PicCalc`:
// 349 x 177 pixels).
bool savePng(const plot::DrawList& list, const QString& path, QString* error = nullptr);

}  // namespace tallimar::ui
