// The Windows entry point: reports success for every notification and does
// no work of its own (no start-up or shut-down state to manage).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  (void)module;
  (void)reason;
  (void)reserved;
  return TRUE;
}
