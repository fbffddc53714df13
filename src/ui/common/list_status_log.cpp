// Status lines into a window's list view.
#include "ui/common/list_status_log.h"

#include <QCoreApplication>
#include <QListView>

#include "ui/common/string_list_model.h"

namespace tallimar::ui {

void ListStatusLog::append(const std::string& line) {
  m_model.append(line);
  const QModelIndex newest = m_model.index(m_model.rowCount() - 1);
  m_view.setCurrentIndex(newest);
  m_view.scrollTo(newest);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tallimar::ui
