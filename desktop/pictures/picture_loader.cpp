// The picture loader, see picture_loader.h.
#include "picture_loader.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "bmp_reader.h"
#include "picture_error.h"
#include "pool_texts.h"
#include "stream.h"

TPictureKind PictureKindOf(const std::string& FileName) {
  const size_t dot = FileName.find_last_of('.');
  const size_t slash = FileName.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return TPictureKind::Unknown;
  std::string ext = FileName.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == "bmp" || ext == "dib") return TPictureKind::Bitmap;
  if (ext == "jpg" || ext == "jpeg" || ext == "jpe" || ext == "jfif") return TPictureKind::Jpeg;
  if (ext == "ico") return TPictureKind::Icon;
  if (ext == "emf" || ext == "wmf") return TPictureKind::Metafile;
  return TPictureKind::Unknown;
}

TSourceImage LoadPictureBytes(const std::string& FileName, const uint8_t* Data, size_t Size,
                              const TPictureProgress& Progress) {
  switch (PictureKindOf(FileName)) {
    case TPictureKind::Bitmap: return ReadBmpPicture(Data, Size);
    case TPictureKind::Jpeg: return ReadJpegPicture(Data, Size, Progress);
    case TPictureKind::Icon:
    case TPictureKind::Metafile: throw EInvalidGraphic(PoolText(NotABitmapTextId));
    default: throw EInvalidGraphic(FormatText(PoolText(UnknownExtensionTextId), FileName));
  }
}

TSourceImage LoadPictureFile(const std::string& FileName, const TPictureProgress& Progress) {
  // The kind is known before the file is read, so an unknown file costs nothing.
  if (PictureKindOf(FileName) == TPictureKind::Unknown) return LoadPictureBytes(FileName, nullptr, 0, Progress);
  TFileStream file(FileName, fmOpenRead);
  const int64_t size = file.Size();
  if (size > INT32_MAX) throw EInvalidGraphic(FormatText(PoolText(PictureFileTooLargeTextId), FileName));
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  file.ReadBuffer(bytes.data(), static_cast<int32_t>(size));
  return LoadPictureBytes(FileName, bytes.data(), bytes.size(), Progress);
}
