// Program start: build the main window from its layout and serve it until it closes.
#include <cstdio>
#include <exception>

#include "app/LayoutReader.h"
#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/RunTime.h"

int main(int argc, char** argv) {
  SetProgramArguments(argc, argv);
  try {
    Application->Initialize();
    Application->SetFormLoader(kestrune::LoadEmbeddedLayout);
    Application->CreateForm(Form1);
    Application->Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrune: %s\n", e.what());
    return 1;
  }
  return 0;
}
