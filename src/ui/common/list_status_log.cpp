// Status lines into a window's list view.
#include "ui/common/list_status_log.h"

#include <QCoreApplication>
#include <QListView>

#include "ui/common/list_view_rules.h"
#include "ui/common/string_list_model.h"

namespace tallimar::ui {

ListStatusLog::ListStatusLog(QListView& view, StringListModel& model)
    : m_view(view), m_model(model) {
  wrapLongLines(view);
  keepNewestLineInView(view);
}

void ListStatusLog::append(const std::string& line) {
  m_model.append(line);
  const QModelIndex newest = m_model.index(m_model.rowCount() - 1);
  m_view.setCurrentIndex(newest);
  m_view.scrollTo(newest);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tallimar::ui
