#pragma once
// The application object and the program's one error handler: a failure that
// leaves a command is shown in a message box and the program carries on.

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>
#include <utility>

class TCyclornApplication final : public QApplication {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TCyclornApplication)

 public:
  explicit TCyclornApplication(int& argc, char** argv);

  // Delivers an event; a std::exception thrown by its handler is shown by
  // ShowErrorMessage instead of ending the program.
  bool notify(QObject* receiver, QEvent* event) override;
};

// The help file the Help command opens (the application's help file).
void SetApplicationHelpFile(const QString& name);
QString ApplicationHelpFile();

// Shows an error message to the user; a message box unless replaced.
using TErrorPresenter = std::function<void(const QString& message)>;
// Replaces the presenter (tests read messages without a modal box); an empty
// function brings the message box back.
void SetErrorPresenter(TErrorPresenter presenter);
void ShowErrorMessage(const QString& message);

// The message shown for a failure: its text, for a graph file error with the
// line where it happened, e.g. "Invalid numeric input (line 7)", and for a
// failed export with the file's name before it.
QString ErrorMessageOf(const std::exception& error);

// Runs one command; a std::exception leaving it is shown and the program
// carries on with the state the command had reached.
template <class Command>
void RunCommand(Command&& command) {
  try {
    std::forward<Command>(command)();
  } catch (const std::exception& error) {
    ShowErrorMessage(ErrorMessageOf(error));
  }
}

// Connects a control's signal to a handler of `receiver` through RunCommand.
template <class Sender, class Signal, class Receiver>
void ConnectCommand(Sender* sender, Signal signal, Receiver* receiver, void (Receiver::*handler)()) {
  QObject::connect(sender, signal, receiver,
                   [receiver, handler] { RunCommand([receiver, handler] { (receiver->*handler)(); }); });
}
