// The language and ring-tone pools' data-file section: the change byte, the
// image size L, then the image's first L bytes.
//
// A data file's image is taken as a phone read takes it: one whose records do
// not parse is kept, just not listed, because the program saves such images
// itself; only an image that cannot be stored (larger than the buffer, or a
// size that disagrees with its own header) is refused as an invalid file.
#include <vector>

#include "byte_order.h"
#include "pool_texts.h"
#include "qvdp_image_pool.h"
#include "stream.h"

bool TQVDP_IMAGEPOOL::LoadFromStream(TStream& Stream) {
  const bool result = Guarded([&] {
    TQV_DATAPOOL::LoadFromStream(Stream);
    uint8_t sizeBytes[4];
    Stream.ReadBuffer(sizeBytes, sizeof sizeBytes);
    const uint32_t size = GetU32(sizeBytes);
    if (size > MaxImageSize) throw EQVError(PoolText(InvalidFileTextId));
    // Bytes past the stored image are zero, never what an earlier image left.
    std::vector<uint8_t> image(MaxImageSize, 0);
    Stream.ReadBuffer(image.data(), static_cast<int32_t>(size));
    if (ImageTotal(image.data()) != size) throw EQVError(PoolText(InvalidFileTextId));
    FImage = std::move(image);
  });
  ParseImage();
  Changed();
  return result;
}

bool TQVDP_IMAGEPOOL::SaveToStream(TStream& Stream) {
  return Guarded([&] {
    TQV_DATAPOOL::SaveToStream(Stream);
    const uint32_t size = ImageBytes();
    uint8_t sizeBytes[4];
    PutU32(sizeBytes, size);
    Stream.WriteBuffer(sizeBytes, sizeof sizeBytes);
    Stream.WriteBuffer(FImage.data(), static_cast<int32_t>(size));
  });
}
