// Program start: the support modules' start values, the application object
// with its help file, the main window, the display options dialog, then the
// message loop until the main window closes.

#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "app/automation.h"
#include "app/main_window.h"
#include "support/units.h"
#include "support/version_info.h"

int main(int argc, char** argv) {
  SetFootToMeter(true);
  ReadUnitsSetting();
  BuildVersionStrings();

  TCyclornApplication application(argc, argv);
  SetApplicationHelpFile(QStringLiteral("LOOP.HLP"));

  TForm1 form;
  form.CreateDisplayDialog();
  form.show();

  int scriptStatus = 0;
  if (const QString script = qEnvironmentVariable(kScriptVariable); !script.isEmpty()) {
    QTimer::singleShot(0, &form, [&form, &scriptStatus, script] {
      if (const QString failure = RunScript(form, script); !failure.isEmpty()) {
        std::fprintf(stderr, "cyclorn: %s\n", failure.toLocal8Bit().constData());
        scriptStatus = EXIT_FAILURE;
        form.close();
      }
    });
  }
  const int status = TCyclornApplication::exec();
  return status != 0 ? status : scriptStatus;
}
