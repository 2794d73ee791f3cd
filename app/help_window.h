#pragma once
// THelpWindow: shows the program's help file, compiled into the program as a
// resource under its file name.

#include <QWidget>

class QTextBrowser;

class THelpWindow final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(THelpWindow)

 public:
  // Opens the contents of `helpFile` (e.g. "LOOP.HLP"); a name the program
  // holds no help for is refused with an error.
  explicit THelpWindow(const QString& helpFile, QWidget* parent = nullptr);

  QTextBrowser* Browser = nullptr;
};

// The resource path of a help file's contents.
QString HelpResourcePath(const QString& helpFile);
