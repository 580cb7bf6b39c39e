// The phone's command set: the request codes of every channel, in one place
// for the pools, the desktop program's clock requests and the phone model.
// An answer carries its request's code with AnswerFlag set.
#pragma once

#include <cstdint>

// chSystem
constexpr uint8_t SysAreaBase = 7;    // base address of a memory area
constexpr uint8_t SysCommitArea = 8;  // commit a memory area after writing

// chConfig
constexpr uint8_t CfgSimPin = 0;
constexpr uint8_t CfgSetClock = 5;
constexpr uint8_t CfgReadClock = 6;
constexpr uint8_t CfgReadSettings = 7;
constexpr uint8_t CfgWriteSettings = 8;
constexpr uint8_t CfgWriteTextSlot = 0x41;  // text slots 1 to 10
constexpr uint8_t CfgReadTextSlot = 0x42;
constexpr uint8_t CfgWriteText = 0x43;      // the single text slot
constexpr uint8_t CfgReadText = 0x44;

// chPhonebook
constexpr uint8_t PbFirstEntry = 0;
constexpr uint8_t PbNextEntry = 1;
constexpr uint8_t PbStartWriting = 2;
constexpr uint8_t PbWriteEntry = 3;
constexpr uint8_t PicWriteStart = 5;
constexpr uint8_t PicWriteData = 6;  // empty: commit
constexpr uint8_t PicReadStart = 7;
constexpr uint8_t PicReadNext = 8;

// chDevice
constexpr uint8_t DevContrast = 2;  // live
constexpr uint8_t DevReadMemory = 3;
constexpr uint8_t DevWriteMemory = 4;
constexpr uint8_t DevIntensity = 11;  // live
