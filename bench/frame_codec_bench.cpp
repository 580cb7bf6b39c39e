// Receiver throughput in bytes per second and encoder frames per second.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "frame_encoder.h"
#include "frame_receiver.h"

namespace {

class TCountingReceiver : public TFrameReceiver {
 public:
  long frames = 0;

 protected:
  bool PostFrame(int, int slot) override {
    ++frames;
    ReleaseSlot(slot);
    return true;
  }
};

TProtPacket RandomPacket(int len, std::mt19937& random) {
  TProtPacket p{};
  p.Channel = chPhonebook;
  p.Code = 0x88;
  p.Len = static_cast<uint16_t>(len);
  for (int i = 0; i < len; ++i) p.Data[i] = static_cast<uint8_t>(random());
  return p;
}

void BM_Receiver(benchmark::State& state) {
  std::mt19937 random(1);
  std::vector<uint8_t> stream;
  uint8_t frame[MaxFrameSize];
  for (int i = 0; i < 64; ++i) {
    const size_t n = EncodeFrame(RandomPacket(static_cast<int>(state.range(0)), random), frame);
    stream.insert(stream.end(), frame, frame + n);
  }
  TCountingReceiver rx;
  for (auto _ : state) {
    for (uint8_t b : stream) rx.ReceiveByte(b);
  }
  benchmark::DoNotOptimize(rx.frames);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(rx.frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Receiver)->Arg(16)->Arg(MaxPacketData);

void BM_Encoder(benchmark::State& state) {
  std::mt19937 random(2);
  const TProtPacket p = RandomPacket(static_cast<int>(state.range(0)), random);
  uint8_t frame[MaxFrameSize];
  size_t bytes = 0;
  for (auto _ : state) {
    bytes += EncodeFrame(p, frame);
    benchmark::DoNotOptimize(frame);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Encoder)->Arg(0)->Arg(16)->Arg(MaxPacketData);

}  // namespace
