// The picture loader, see picture_loader.h.
#include "picture_loader.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <vector>

#include "bmp_reader.h"
#include "picture_error.h"
#include "pool_texts.h"
#include "stream.h"

const std::vector<std::string>& ExtensionsOf(TPictureKind Kind) {
  static const std::vector<std::string> Bitmap{"bmp", "dib"}, Jpeg{"jpg", "jpeg", "jpe", "jfif"}, Icon{"ico"},
      EnhancedMetafile{"emf"}, Metafile{"wmf"}, None;
  switch (Kind) {
    case TPictureKind::Bitmap: return Bitmap;
    case TPictureKind::Jpeg: return Jpeg;
    case TPictureKind::Icon: return Icon;
    case TPictureKind::EnhancedMetafile: return EnhancedMetafile;
    case TPictureKind::Metafile: return Metafile;
    default: return None;
  }
}

TPictureKind PictureKindOf(const std::string& FileName) {
  const size_t dot = FileName.find_last_of('.');
  const size_t slash = FileName.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return TPictureKind::Unknown;
  std::string ext = FileName.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  for (TPictureKind kind : {TPictureKind::Bitmap, TPictureKind::Jpeg, TPictureKind::Icon,
                            TPictureKind::EnhancedMetafile, TPictureKind::Metafile}) {
    const std::vector<std::string>& known = ExtensionsOf(kind);
    if (std::find(known.begin(), known.end(), ext) != known.end()) return kind;
  }
  return TPictureKind::Unknown;
}

TSourceImage LoadPictureBytes(const std::string& FileName, const uint8_t* Data, size_t Size,
                              const TPictureProgress& Progress) {
  switch (PictureKindOf(FileName)) {
    case TPictureKind::Bitmap: return ReadBmpPicture(Data, Size);
    case TPictureKind::Jpeg: return ReadJpegPicture(Data, Size, Progress);
    case TPictureKind::Icon:
    case TPictureKind::EnhancedMetafile:
    case TPictureKind::Metafile: throw EInvalidGraphic(PoolText(NotABitmapTextId));
    default: throw EInvalidGraphic(FormatText(PoolText(UnknownExtensionTextId), FileName));
  }
}

TSourceImage LoadPictureFile(const std::string& FileName, const TPictureProgress& Progress) {
  // The kind is known before the file is read, so an unknown file costs nothing.
  if (PictureKindOf(FileName) == TPictureKind::Unknown) return LoadPictureBytes(FileName, nullptr, 0, Progress);
  TFileStream file(FileName, fmOpenRead);
  const int64_t size = file.Size();
  const std::string tooLarge = FormatText(PoolText(PictureFileTooLargeTextId), FileName);
  if (size > INT32_MAX) throw EInvalidGraphic(tooLarge);
  // A bitmap is read piece by piece, never whole beside its picture.
  if (PictureKindOf(FileName) == TPictureKind::Bitmap) return ReadBmpPicture(file);
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    throw EInvalidGraphic(tooLarge);
  }
  file.ReadBuffer(bytes.data(), static_cast<int32_t>(size));
  return LoadPictureBytes(FileName, bytes.data(), bytes.size(), Progress);
}
