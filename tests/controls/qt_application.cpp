// One application object for every widget test of the program.

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
  char name[24] = "cyclorn_controls_tests";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> application;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new TQtApplicationEnvironment);

}  // namespace
