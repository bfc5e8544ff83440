#include "framework/Application.h"
#include "shell/TSL.h"

int main(int argc, char** argv) {
  if (!fw::Start(argc, argv, TSL::Startup)) return 1;
  const int code = fw::RunEventLoop();
  fw::Shutdown();
  return code;
}
