// A list model over plain text lines, for the window lists that can hold hundreds of
// thousands of lines (the crossover list) and for the status lists. Shown in a QListView
// with uniform item sizes, so that neither adding nor scrolling costs per-line widgets.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace tallimar::ui {

class StringListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit StringListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  void append(std::string line);
  // Adds many lines with one insertion, so a view updates once.
  void append(std::vector<std::string> lines);
  void clear();

  const std::vector<std::string>& lines() const { return m_lines; }

 private:
  std::vector<std::string> m_lines;
};

}  // namespace tallimar::ui
