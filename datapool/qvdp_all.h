// TQVDP_ALL, the desktop program's single data object: it owns the six pools,
// routes their requests to the link library (or to OnSendPacket), reads and
// writes all of them with progress reports, keeps the text of the last
// failure and announces every change of a pool to one listener.
//
// The data file's operations (LoadFromStream, SaveToStream, LoadFromFile,
// SaveToFile) belong to the data file's own source file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "pool_types.h"
#include "protocol.h"
#include "qv_datapool.h"

class TStream;

class TQVDP_ALL {
 public:
  // Create: the six pools in index order, every event unassigned.
  TQVDP_ALL();
  // Destroy: frees the pools in index order with every announcement held back.
  ~TQVDP_ALL();
  TQVDP_ALL(const TQVDP_ALL&) = delete;
  TQVDP_ALL& operator=(const TQVDP_ALL&) = delete;

  // The pool of Index (0 to 5); the caller casts it to the index's class.
  TQV_DATAPOOL* Pools(TPoolIndex Index) const { return GetPool(Index); }
  TQV_DATAPOOL* GetPool(TPoolIndex Index) const;
  // The text of the last failure; never cleared.
  const std::string& ErrorText() const { return FErrorText; }
  bool AnyChanged() const;
  void DoChange(TPoolIndex Index);
  bool SendPacket(TProtPacket& Packet, int32_t Timeout);
  bool ReadAll();
  bool WriteAll(bool OnlyChanged);

  bool LoadFromStream(TStream& Stream);
  bool SaveToStream(TStream& Stream);
  bool LoadFromFile(const std::string& FileName);
  bool SaveToFile(const std::string& FileName);

  std::string FErrorText;
  std::array<std::unique_ptr<TQV_DATAPOOL>, PoolCount> FPools;
  TDataFileHeader FHeader{};
  TPoolProgressEvent OnReadProgress;
  TPoolProgressEvent OnWriteProgress;
  TPoolChangeEvent OnChange;
  TSendPacketEvent OnSendPacket;  // the program leaves it unassigned
  bool FBusy = false;             // while true, DoChange announces nothing

 private:
  // Ends a transfer that failed at a pool: the text and the default cursor.
  bool FailTransfer(const std::string& Text);
};
