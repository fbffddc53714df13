// Text lines as a Qt list model.
#include "ui/common/string_list_model.h"

namespace tallimar::ui {

StringListModel::StringListModel(QObject* parent) : QAbstractListModel(parent) {}

int StringListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant StringListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(m_lines.size())) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  return QString::fromStdString(m_lines[static_cast<std::size_t>(index.row())]);
}

void StringListModel::append(std::string line) {
  const int row = static_cast<int>(m_lines.size());
  beginInsertRows(QModelIndex(), row, row);
  m_lines.push_back(std::move(line));
  endInsertRows();
}

void StringListModel::append(std::vector<std::string> lines) {
  if (lines.empty()) return;
  const int first = static_cast<int>(m_lines.size());
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(lines.size()) - 1);
  m_lines.insert(m_lines.end(), std::make_move_iterator(lines.begin()),
                 std::make_move_iterator(lines.end()));
  endInsertRows();
}

void StringListModel::clear() {
  if (m_lines.empty()) return;
  beginResetModel();
  m_lines.clear();
  endResetModel();
}

}  // namespace tallimar::ui
