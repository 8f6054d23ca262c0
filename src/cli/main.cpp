#include <exception>
#include <iostream>

#include "cli/CliApp.h"
#include "cli/ConsoleRunHost.h"

int main(int argc, char** argv) {
  lanzhou::cli::ConsoleRunHost::InstallInterruptHandler();
  try {
    return lanzhou::cli::RunCli(argc, argv, std::cout, std::cerr);
  } catch (const std::exception& e) {
    // Out of memory and the like: one line, never an abort with a trace.
    std::cerr << "lanzhou-gen: " << e.what() << '\n';
    return 1;
  }
}
