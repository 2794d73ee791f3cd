// One application object for the drawing tests that need Qt, made before the
// first test and destroyed after the last, while Qt's own globals still live.

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
  char name[19] = "cyclorn_draw_tests";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> application;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new TQtApplicationEnvironment);

}  // namespace
