// Qt prompts: boxes and dialogs show what the request asks and give back the user's choice.
#include "ui/app/qt_prompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace tallimar::ui {
namespace {

using common::Answer;
using common::MessageButtons;
using common::MessageIcon;

// Runs act on the modal dialog once it is up.
template <typename Dialog>
void whenShown(std::function<void(Dialog&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

TEST(QtPrompts, MessageBoxesAnswerWithTheButtonPressedOrTheirCloseAnswer) {
  QtPrompts prompts;
  whenShown<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.text(), "Append?");
    EXPECT_EQ(box.icon(), QMessageBox::Warning);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.button(QMessageBox::No)->click();
  });
  EXPECT_EQ(
      prompts.message("Tallimar", "Append?", MessageButtons::YesNoCancel, MessageIcon::Exclamation),
      Answer::No);

  whenShown<QMessageBox>([](QMessageBox& box) { box.reject(); });  // closed without a button
  EXPECT_EQ(prompts.message("Tallimar", "Refused", MessageButtons::YesNo, MessageIcon::Stop),
            Answer::No);
}

TEST(QtPrompts, FileDialogsUseTheRequestAndReturnTheChoice) {
  QTemporaryDir dir;
  QFile(dir.filePath("a.xls")).open(QIODevice::WriteOnly);
  QFile(dir.filePath("b.xls")).open(QIODevice::WriteOnly);
  QtPrompts prompts;
  whenShown<QFileDialog>([&dir](QFileDialog& dialog) {
    EXPECT_EQ(dialog.directory().absolutePath(), QDir(dir.path()).absolutePath());
    dialog.selectFile("\"a.xls\" \"b.xls\"");
    static_cast<QDialog&>(dialog).accept();
  });
  const auto opened =
      prompts.openFiles({"Open Datalog", "*.xls", "", "xls", dir.path().toStdString()}, true);
  EXPECT_EQ(opened, (std::vector<std::string>{dir.filePath("a.xls").toStdString(),
                                              dir.filePath("b.xls").toStdString()}));

  whenShown<QFileDialog>([](QFileDialog& d) { static_cast<QDialog&>(d).accept(); });  // as preset
  EXPECT_EQ(prompts.saveFile({"Save LD Map", "*.vex", "table", "vex", dir.path().toStdString()}),
            dir.filePath("table.vex").toStdString());

  // Choosing another file type gives a bare typed name that type's extension.
  whenShown<QFileDialog>([](QFileDialog& dialog) {
    emit dialog.filterSelected("Tune File (*.msq)");
    emit dialog.filterSelected("All files (*)");
    EXPECT_EQ(dialog.defaultSuffix(), "msq");
    dialog.selectFile("corrected");
    static_cast<QDialog&>(dialog).accept();
  });
  EXPECT_EQ(prompts.saveFile({"Save", "VE eXchange (*.vex)|*.vex|Tune File (*.msq)|*.msq", "x",
                              "vex", dir.path().toStdString()}),
            dir.filePath("corrected.msq").toStdString());

  whenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(prompts.saveFile({"Save", "*.vex", "x", "vex", dir.path().toStdString()}));
}

TEST(QtPrompts, FiltersBecomeQtNameFilters) {
  for (const auto& [filter, expected] :
       {std::pair<std::string, QStringList>{"*.xls", {"*.xls"}},
        {"*.vex;*.dmp", {"*.vex *.dmp"}},
        {"Datalogs|*.xls|All files|*.*", {"Datalogs (*.xls)", "All files (*.*)"}},
        {"", {}}})
    EXPECT_EQ(QtPrompts::nameFilters(filter), expected) << filter;
}

}  // namespace
}  // namespace tallimar::ui
