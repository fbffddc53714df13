// The crossover list (List1) as the CrossoverList of commands that run on the window's
// thread: lines go straight into the list's model, each batch as one insertion, and the list
// scrolls to its newest line.
#pragma once

#include "engine/crossover_list.h"

class QListView;

namespace tallimar::ui {

class StringListModel;

class ListCrossoverList : public engine::CrossoverList {
 public:
  // The list keeps its newest line in view when its size changes.
  ListCrossoverList(QListView& view, StringListModel& model);
  void clear() override;
  void append(std::span<const std::string> lines) override;

 private:
  QListView& m_view;
  StringListModel& m_model;
};

}  // namespace tallimar::ui
