// `PrintPreview`: the on-screen preview of a report page, a window of letter-page shape
// (6800 x 8800 twips) at the top left of the screen. It stays open after a print command,
// showing the last page until the next one replaces it.
#pragma once

#include <QWidget>

#include "plot/draw_list.h"

namespace tallimar::ui {

class PrintPreview : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "PrintPreview";

  explicit PrintPreview(QWidget* parent = nullptr);

  // Replaces the page shown (a page laid out for the preview's size and font).
  void setPage(plot::DrawList page);
  const plot::DrawList& page() const { return m_page; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  plot::DrawList m_page;
};

}  // namespace tallimar::ui
