// cyclorn-cli: runs the workbench's commands without a window.

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "cli/command_line.h"
#include "core/errors.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  TCliOptions options;
  try {
    options = ParseCommandLine(args);
  } catch (const EUsageError& error) {
    std::cerr << "cyclorn-cli: " << error.what() << '\n' << CliUsage();
    return 2;
  } catch (const ECyclornError& error) {
    std::cerr << "cyclorn-cli: " << error.what() << '\n';
    return 1;
  }
  return RunCli(options, std::cout, std::cerr);
}
