#include "framework/Application.h"
#include "shell/TSL.h"

int main(int argc, char** argv) {
  fw::Start(argc, argv, TSL::Startup);
  const int code = fw::RunEventLoop();
  fw::Shutdown();
  return code;
}
