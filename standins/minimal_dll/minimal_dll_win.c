/* Stand-in for a library the installer only puts into the system folder and
   that nothing in the system loads: ThemedDLL.dll (of the visual-styles add-on)
   and wdlib.dll (of the USB vendor's package). Each copy names what it stands
   in for in StandsInFor, given by the build. */
#include <windows.h>

__declspec(dllexport) const char StandsInFor[] = QV_STANDS_IN_FOR;

BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID Reserved) {
  (void)Instance;
  (void)Reason;
  (void)Reserved;
  return TRUE;
}
