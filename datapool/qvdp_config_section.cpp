// The configuration pool's data-file section: the change byte and then four
// blocks (SIM PIN, ten text slots, the single text slot, the settings record),
// each scrambled by itself so that none of them stands in the file as plain
// text. A save scrambles copies; the pool's own blocks never change.
#include <array>
#include <cstring>

#include "qvdp_config.h"
#include "scramble.h"
#include "stream.h"

namespace {

struct TBlock {
  void* Data;
  int32_t Size;
};

template <typename TPool>
auto Blocks(TPool& Pool) {
  return std::array<TBlock, 4>{{{Pool.FSimPin, sizeof(Pool.FSimPin)},
                                {Pool.FTexts, sizeof(Pool.FTexts)},
                                {Pool.FText, sizeof(Pool.FText)},
                                {&Pool.FSettings, sizeof(Pool.FSettings)}}};
}

constexpr int32_t LargestBlock = sizeof(TQVDP_CONFIG::FTexts);

}  // namespace

bool TQVDP_CONFIG::LoadFromStream(TStream& Stream) {
  const bool Result = Guarded([&] {
    TQV_DATAPOOL::LoadFromStream(Stream);
    // Block by block, so a file cut short never leaves a half-read block.
    for (const TBlock& Block : Blocks(*this)) {
      uint8_t Buffer[LargestBlock];
      Stream.ReadBuffer(Buffer, Block.Size);
      UnscrambleBlock(Buffer, Block.Size);
      std::memcpy(Block.Data, Buffer, Block.Size);
    }
  });
  Changed();
  return Result;
}

bool TQVDP_CONFIG::SaveToStream(TStream& Stream) {
  return Guarded([&] {
    TQV_DATAPOOL::SaveToStream(Stream);
    for (const TBlock& Block : Blocks(*this)) {
      uint8_t Buffer[LargestBlock];
      std::memcpy(Buffer, Block.Data, Block.Size);
      ScrambleBlock(Buffer, Block.Size);
      Stream.WriteBuffer(Buffer, Block.Size);
    }
  });
}
