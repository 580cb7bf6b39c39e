// The data pool on a full phone (50 + 200 entries, 24 pictures, a 65,536-byte
// language image, 20 melodies): the requests and framed bytes on the wire of
// ReadAll and WriteAll(False), their time against the phone model in place of
// the link, and SaveToFile + LoadFromFile of the same data. Prints figures;
// asserts nothing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame_encoder.h"
#include "phone_model.h"
#include "phone_seed.h"
#include "phone_sender.h"
#include "qvdp_all.h"

namespace {

struct TWire {
  long Requests = 0;
  long BytesOut = 0;  // PC to phone, framed
  long BytesIn = 0;   // phone to PC, framed
};

// The phone model as OnSendPacket, counting what the link would carry.
TSendPacketEvent CountingSender(TPhoneModel& Phone, TWire& Wire) {
  return [&Phone, &Wire, model = PhoneModelSender(Phone)](TQVDP_ALL* Sender, TProtPacket& Packet, int32_t Timeout) {
    uint8_t frame[MaxFrameSize];
    ++Wire.Requests;
    Wire.BytesOut += static_cast<long>(EncodeFrame(Packet, frame));
    const bool answered = model(Sender, Packet, Timeout);
    if (answered) Wire.BytesIn += static_cast<long>(EncodeFrame(Packet, frame));
    return answered;
  };
}

void ReportWire(benchmark::State& State, const TWire& Wire, int64_t Runs) {
  State.counters["requests"] = static_cast<double>(Wire.Requests) / static_cast<double>(Runs);
  State.counters["bytes_out"] = static_cast<double>(Wire.BytesOut) / static_cast<double>(Runs);
  State.counters["bytes_in"] = static_cast<double>(Wire.BytesIn) / static_cast<double>(Runs);
}

void BM_ReadAll(benchmark::State& State) {
  TPhoneModel phone;
  phone.State = MakeSeededPhone(FullPhoneSeed());
  TWire wire;
  TQVDP_ALL pools;
  pools.OnSendPacket = CountingSender(phone, wire);
  int64_t runs = 0;
  for (auto _ : State) {
    if (!pools.ReadAll()) State.SkipWithError(pools.ErrorText().c_str());
    ++runs;
  }
  ReportWire(State, wire, runs);
}

void BM_WriteAll(benchmark::State& State) {
  TPhoneModel source;
  source.State = MakeSeededPhone(FullPhoneSeed());
  TQVDP_ALL pools;
  pools.OnSendPacket = PhoneModelSender(source);
  if (!pools.ReadAll()) State.SkipWithError(pools.ErrorText().c_str());
  TPhoneModel target;
  TWire wire;
  pools.OnSendPacket = CountingSender(target, wire);
  int64_t runs = 0;
  for (auto _ : State) {
    if (!pools.WriteAll(false)) State.SkipWithError(pools.ErrorText().c_str());
    ++runs;
  }
  ReportWire(State, wire, runs);
}

void BM_SaveAndLoadFile(benchmark::State& State) {
  TPhoneModel phone;
  phone.State = MakeSeededPhone(FullPhoneSeed());
  TQVDP_ALL pools;
  pools.OnSendPacket = PhoneModelSender(phone);
  if (!pools.ReadAll()) State.SkipWithError(pools.ErrorText().c_str());
  const char* folder = std::getenv("TMPDIR");
  const std::string name = std::string(folder ? folder : "/tmp") + "/datapool_bench.qvd";
  TQVDP_ALL loaded;
  for (auto _ : State) {
    if (!pools.SaveToFile(name) || !loaded.LoadFromFile(name)) State.SkipWithError(loaded.ErrorText().c_str());
  }
  if (std::FILE* file = std::fopen(name.c_str(), "rb")) {
    std::fseek(file, 0, SEEK_END);
    State.counters["file_bytes"] = static_cast<double>(std::ftell(file));
    std::fclose(file);
  }
  std::remove(name.c_str());
}

}  // namespace

BENCHMARK(BM_ReadAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAndLoadFile)->Unit(benchmark::kMillisecond);
