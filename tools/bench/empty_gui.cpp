// The benchmark's baseline: a GUI-subsystem program of the agent's toolchain that does
// nothing, so that its run under Wine measures Wine's own start-up and exit.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return 0;
}
