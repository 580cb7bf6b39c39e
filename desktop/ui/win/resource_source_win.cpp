// Resource source on Windows. A language module is loaded as a data file, so
// every lookup goes through FindResource/LoadString on its handle; nothing of
// the module is ever run.
#include "resource_source_win.h"

#include "resource_texts.h"

namespace {
HMODULE Source = nullptr;  // nullptr: the program itself
}

void SetResourceModule(HMODULE Module) { Source = Module; }

HMODULE ResourceModule() { return Source ? Source : GetModuleHandleA(nullptr); }

TLayout LoadLayoutResource(const std::string& Name) {
  HMODULE Module = ResourceModule();
  HRSRC Info = FindResourceA(Module, Name.c_str(), "QVLAYOUT");
  HGLOBAL Data = Info ? LoadResource(Module, Info) : nullptr;
  const void* Bytes = Data ? LockResource(Data) : nullptr;
  if (!Bytes) throw TLayoutError("layout " + Name + ": no such resource (error " + std::to_string(GetLastError()) + ")");
  return ParseLayout(Name, std::string(static_cast<const char*>(Bytes), SizeofResource(Module, Info)));
}

HBITMAP LoadPicture(const std::string& Name) {
  const bool Own = !Name.empty() && Name[0] == '@';
  HMODULE Module = Own ? GetModuleHandleA(nullptr) : ResourceModule();
  return static_cast<HBITMAP>(
      LoadImageA(Module, Name.c_str() + (Own ? 1 : 0), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

std::string ResourceText(int Id) {
  // A resource text holds at most 1023 characters.
  char Buffer[1024];
  const int Length = LoadStringA(ResourceModule(), static_cast<UINT>(Id), Buffer, sizeof(Buffer));
  return std::string(Buffer, Length > 0 ? Length : 0);
}
