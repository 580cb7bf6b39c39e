// The second start's hand-over in-process: the second instance owns the
// foreground, so before it asks the running one to come forward it gives that
// process leave to take the foreground; without it, Windows' foreground lock
// only flashes the running one's task bar button. Wine locks nothing, so the
// call is watched where this program imports it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "messages_win.h"
#include "single_instance_win.h"

namespace {

// Points this program's import of Dll's Function at Replacement; the import
// as it was, or nullptr when the program does not import the function.
void* PatchImport(const char* Dll, const char* Function, void* Replacement) {
  auto* Base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* Nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(Base + reinterpret_cast<IMAGE_DOS_HEADER*>(Base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& Imports = Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* Module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(Base + Imports.VirtualAddress); Module->Name; ++Module) {
    if (lstrcmpiA(reinterpret_cast<const char*>(Base + Module->Name), Dll) != 0) continue;
    auto* Names = reinterpret_cast<IMAGE_THUNK_DATA*>(Base + Module->OriginalFirstThunk);
    auto* Slots = reinterpret_cast<IMAGE_THUNK_DATA*>(Base + Module->FirstThunk);
    for (; Names->u1.AddressOfData; ++Names, ++Slots) {
      if (IMAGE_SNAP_BY_ORDINAL(Names->u1.Ordinal)) continue;
      const auto* Name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(Base + Names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(Name->Name), Function) != 0) continue;
      void* Old = reinterpret_cast<void*>(Slots->u1.Function);
      DWORD Protection = 0;
      VirtualProtect(&Slots->u1.Function, sizeof Slots->u1.Function, PAGE_READWRITE, &Protection);
      Slots->u1.Function = reinterpret_cast<ULONG_PTR>(Replacement);
      VirtualProtect(&Slots->u1.Function, sizeof Slots->u1.Function, Protection, &Protection);
      return Old;
    }
  }
  return nullptr;
}

HWND Running = nullptr;  // stands for the running instance's main window
int Allowed = 0;
DWORD AllowedProcess = 0;
bool AskedBeforeAllowed = false;

BOOL WINAPI RecordAllow(DWORD Process) {
  ++Allowed;
  AllowedProcess = Process;
  MSG Msg;
  AskedBeforeAllowed = PeekMessageA(&Msg, Running, WM_ACTIVATEINSTANCE, WM_ACTIVATEINSTANCE, PM_NOREMOVE) != FALSE;
  return TRUE;
}

TEST(SingleInstance, TheRunningInstanceGetsLeaveToTakeTheForegroundBeforeItIsAsked) {
  Running = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(Running);
  HANDLE Memory = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, ShareMemName);
  ASSERT_TRUE(Memory);
  auto* View = static_cast<uint32_t*>(MapViewOfFile(Memory, FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_TRUE(View);
  *View = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Running));

  void* Kept = PatchImport("user32.dll", "AllowSetForegroundWindow", reinterpret_cast<void*>(&RecordAllow));
  EXPECT_TRUE(Kept) << "nothing in the program gives the running instance leave";
  EXPECT_FALSE(CheckSingleInstance()) << "the second instance ends";
  ReleaseSingleInstance();
  if (Kept) PatchImport("user32.dll", "AllowSetForegroundWindow", Kept);

  EXPECT_EQ(Allowed, 1);
  EXPECT_EQ(AllowedProcess, GetCurrentProcessId()) << "the running window's process";
  EXPECT_FALSE(AskedBeforeAllowed) << "leave comes before the request";
  MSG Msg;
  EXPECT_TRUE(PeekMessageA(&Msg, Running, WM_ACTIVATEINSTANCE, WM_ACTIVATEINSTANCE, PM_REMOVE)) << "asked to come forward";
  UnmapViewOfFile(View);
  CloseHandle(Memory);
  DestroyWindow(Running);
}

}  // namespace
