// Placement of the dialogs opened beside a window.
#include "ui/common/form_parts.h"

#include "common/twips.h"

namespace tallimar::ui::form {

void placeBeside(QWidget& dialog, const QWidget& window) {
  constexpr double kOffsetTwips = 120;
  const int x = common::twipsToPixels(kOffsetTwips, window.logicalDpiX());
  const int y = common::twipsToPixels(kOffsetTwips, window.logicalDpiY());
  dialog.move(window.frameGeometry().topLeft() + QPoint(x, y));
}

}  // namespace tallimar::ui::form
