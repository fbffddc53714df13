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
  std::vector<std::string> many;
  for (int i = 0; i < 20000; ++i) many.push_back("line " + std::to_string(i));
  model.append(std::move(many));
  model.append(std::vector<std::string>{});
  ASSERT_EQ(model.rowCount(), 20001);
  EXPECT_EQ(model.index(20000).data().toString(), "line 19999");
  model.clear();
  EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace tallimar::ui
