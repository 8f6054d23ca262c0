#include <iostream>

#include "cli/CliApp.h"
#include "cli/ConsoleRunHost.h"

int main(int argc, char** argv) {
  lanzhou::cli::ConsoleRunHost::InstallInterruptHandler();
  return lanzhou::cli::RunCli(argc, argv, std::cout, std::cerr);
}
