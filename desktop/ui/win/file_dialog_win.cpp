// File dialogs. A picture-open dialog ("pictures=1") gets the filter of every
// picture kind the picture loader reads, named by the standard texts, with
// the loader's own extensions.
#include "file_dialog_win.h"

#include "picture_loader.h"
#include "resource_texts.h"
#include "text_ids.h"

namespace {

std::string PictureFilter() {
  const struct {
    int TextId;
    TPictureKind Kind;
  } Kinds[] = {{BitmapsTextId, TPictureKind::Bitmap},
               {JpegTextId, TPictureKind::Jpeg},
               {IconsTextId, TPictureKind::Icon},
               {EnhancedMetafilesTextId, TPictureKind::EnhancedMetafile},
               {MetafilesTextId, TPictureKind::Metafile}};
  const auto Masks = [](TPictureKind Kind) {
    std::string Text;
    for (const std::string& Extension : ExtensionsOf(Kind)) Text += (Text.empty() ? "*." : ";*.") + Extension;
    return Text;
  };
  std::string All;
  for (const auto& K : Kinds) All += (All.empty() ? "" : ";") + Masks(K.Kind);
  std::string Filter = ResourceText(AllPicturesTextId) + " (" + All + ")|" + All;
  for (const auto& K : Kinds) Filter += "|" + ResourceText(K.TextId) + " (" + Masks(K.Kind) + ")|" + Masks(K.Kind);
  return Filter;
}

DWORD OptionFlags(const std::string& Options) {
  static const struct {
    const char* Name;
    DWORD Flag;
  } Names[] = {{"filemustexist", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST},
               {"hidereadonly", OFN_HIDEREADONLY},
               {"enablesizing", OFN_ENABLESIZING},
               {"overwriteprompt", OFN_OVERWRITEPROMPT}};
  DWORD Flags = 0;
  size_t Start = 0;
  while (Start < Options.size()) {
    size_t End = Options.find(',', Start);
    if (End == std::string::npos) End = Options.size();
    const std::string Item = Options.substr(Start, End - Start);
    bool Known = false;
    for (const auto& N : Names)
      if (Item == N.Name) Flags |= N.Flag, Known = true;
    if (!Known) throw TLayoutError("file dialog: unknown option " + Item);
    Start = End + 1;
  }
  return Flags;
}

}  // namespace

TFileDialog::TFileDialog(const TLayoutControl& Layout)
    : FSave(Layout.Kind == "savedialog"),
      FTitle(Layout.Prop("title")),
      FFilter(Layout.BoolProp("pictures", false) ? PictureFilter() : Layout.Prop("filter")),
      FDefaultExt(Layout.Prop("defaultext")) {
  FFlags |= OptionFlags(Layout.Prop("options"));
}

bool TFileDialog::Execute(HWND Owner) {
  // The filter's "|" separators become the zero bytes the dialog expects.
  std::string Filter = FFilter + "||";
  for (char& C : Filter)
    if (C == '|') C = '\0';
  char Path[MAX_PATH] = {};
  FileName.copy(Path, MAX_PATH - 1);
  OPENFILENAMEA Ofn{};
  Ofn.lStructSize = sizeof(Ofn);
  Ofn.hwndOwner = Owner;
  Ofn.lpstrFilter = FFilter.empty() ? nullptr : Filter.c_str();
  Ofn.lpstrFile = Path;
  Ofn.nMaxFile = MAX_PATH;
  Ofn.lpstrTitle = FTitle.empty() ? nullptr : FTitle.c_str();
  Ofn.lpstrDefExt = FDefaultExt.empty() ? nullptr : FDefaultExt.c_str();
  Ofn.Flags = FFlags;
  if (Hook) {
    Ofn.Flags |= OFN_ENABLEHOOK;
    Ofn.lpfnHook = Hook;
  }
  if (!(FSave ? GetSaveFileNameA(&Ofn) : GetOpenFileNameA(&Ofn))) return false;
  FileName = Path;
  return true;
}
