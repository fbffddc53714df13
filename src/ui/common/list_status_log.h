// The StatusLog of a window: appends each line to the window's status list, selects the
// newest line and scrolls to it, then lets pending paint and timer events run so the line
// shows while long work goes on. User input is held back meanwhile, so no command can
// start in the middle of another. The list wraps long lines and keeps its newest line in
// view when its size changes (list_view_rules.h).
#pragma once

#include "common/status_log.h"

class QListView;

namespace tallimar::ui {

class StringListModel;

class ListStatusLog : public common::StatusLog {
 public:
  ListStatusLog(QListView& view, StringListModel& model);
  void append(const std::string& line) override;

 private:
  QListView& m_view;
  StringListModel& m_model;
};

}  // namespace tallimar::ui
