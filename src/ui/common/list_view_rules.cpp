// The list rules: word wrap without a sideways scroll bar, and the newest line kept in view.
#include "ui/common/list_view_rules.h"

#include <QEvent>
#include <QListView>
#include <QTimer>

namespace tallimar::ui {
namespace {

// Watches the list's viewport: once a resize has been laid out, the last row is scrolled to.
class NewestLineKeeper : public QObject {
 public:
  explicit NewestLineKeeper(QListView& list) : QObject(&list), m_list(list) {
    list.viewport()->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize && watched == m_list.viewport())
      // Later, so that the rows are laid out for the new size first.
      QTimer::singleShot(0, &m_list, [list = &m_list] { list->scrollToBottom(); });
    return false;
  }

 private:
  QListView& m_list;
};

}  // namespace

void wrapLongLines(QListView& list) {
  list.setUniformItemSizes(false);  // wrapped lines are taller than one row
  list.setWordWrap(true);
  list.setResizeMode(QListView::Adjust);
  list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list.setTextElideMode(Qt::ElideNone);
}

void keepNewestLineInView(QListView& list) { new NewestLineKeeper(list); }

}  // namespace tallimar::ui
