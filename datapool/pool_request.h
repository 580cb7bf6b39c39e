// The one way the pools build a request of the phone command set: channel,
// code and the data bytes; Len is the data's size and every byte behind the
// data is zero, so a request never carries what an earlier answer left in a
// reused packet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "protocol.h"

// Size is at most MaxPacketData.
TProtPacket PoolRequest(uint8_t Channel, uint8_t Code, const void* Data = nullptr, size_t Size = 0);
TProtPacket PoolRequest(uint8_t Channel, uint8_t Code, std::initializer_list<uint8_t> Data);
