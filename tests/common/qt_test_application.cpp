// One application object for a test program's widget and painting tests,
// made before the first test and destroyed after the last, while Qt's own
// globals still live. Link this file into any test program that needs Qt.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class TQtApplicationEnvironment final : public testing::Environment {
 public:
  void SetUp() override { application = std::make_unique<QApplication>(argc, argv); }
  void TearDown() override { application.reset(); }

 private:
  int argc = 1;
  char name[14] = "cyclorn_tests";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> application;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new TQtApplicationEnvironment);

}  // namespace
