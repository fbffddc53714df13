// The list model of the windows' lists keeps Qt's model rules through large appends and clears.
#include "ui/common/string_list_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

namespace tallimar::ui {
namespace {

TEST(StringListModel, KeepsModelInvariantsThroughAppendsAndClear) {
  StringListModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.append("one");
  model.append(std::vector<std::string>(20000, "line"));
  model.append(std::vector<std::string>{});
  ASSERT_EQ(model.rowCount(), 20001);
  EXPECT_EQ(model.index(20000).data().toString(), "line");
  model.clear();
  EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace tallimar::ui
