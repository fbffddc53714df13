// tallimar-batch: the datalog -> raw data map -> files pipeline without a window.
#include <iostream>
#include <string>
#include <vector>

#include "batch_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const int status = tallimar::batch::runBatch(arguments, std::cout, std::cerr);
  std::cout.flush();
  return std::cout ? status : tallimar::batch::kExitFailed;
}
