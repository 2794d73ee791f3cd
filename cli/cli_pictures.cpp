#include "cli/cli_pictures.h"

#ifdef CYCLORN_CLI_QT

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "render_qt/qt_pictures.h"

namespace {

// Qt's own notes (a missing XDG_RUNTIME_DIR, font fallbacks) are not the
// tool's output: standard error carries only the tool's messages.
void DropQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) std::fprintf(stderr, "cyclorn-cli: %s\n", message.toLocal8Bit().constData());
}

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

class TQtCliPictures final : public TCliPictures {
 public:
  TQtCliPictures() {
    // Qt draws and measures text only inside an application; without a
    // display it runs on the offscreen platform.
    if (QGuiApplication::instance() == nullptr) {
      qInstallMessageHandler(DropQtNotes);
      if (!IsSet("QT_QPA_PLATFORM") && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      static int argc = 1;
      static char name[] = "cyclorn-cli";
      static char* argv[] = {name, nullptr};
      application_ = std::make_unique<QGuiApplication>(argc, argv);
    }
  }
  TPictureMaker* Maker() override { return &maker_; }

 private:
  std::unique_ptr<QGuiApplication> application_;
  TQtPictureMaker maker_;
};

}  // namespace

std::unique_ptr<TCliPictures> StartCliPictures() { return std::make_unique<TQtCliPictures>(); }

#else

std::unique_ptr<TCliPictures> StartCliPictures() { return nullptr; }

#endif
