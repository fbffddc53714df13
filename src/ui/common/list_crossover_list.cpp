// Crossover list lines into the window's list view.
#include "ui/common/list_crossover_list.h"

#include <QListView>

#include "ui/common/list_view_rules.h"
#include "ui/common/string_list_model.h"

namespace tallimar::ui {

ListCrossoverList::ListCrossoverList(QListView& view, StringListModel& model)
    : m_view(view), m_model(model) {
  keepNewestLineInView(view);
}

void ListCrossoverList::clear() { m_model.clear(); }

void ListCrossoverList::append(std::span<const std::string> lines) {
  if (lines.empty()) return;
  m_model.append(std::vector<std::string>(lines.begin(), lines.end()));
  m_view.scrollToBottom();
}

}  // namespace tallimar::ui
