// The phone's answers to the system, configuration, phonebook-1 and device
// requests. Each handler fills the answer and returns true, or returns false
// when the phone would not answer at all.
#include "phone_model.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "byte_order.h"
#include "memory_image.h"
#include "phone_commands.h"

bool operator==(const TPhoneState& A, const TPhoneState& B) {
  return A.AreaBase == B.AreaBase && A.Memory == B.Memory && A.Commits == B.Commits &&
         A.UncommittedWrites == B.UncommittedWrites && A.Phonebook1.size() == B.Phonebook1.size() &&
         std::equal(A.Phonebook1.begin(), A.Phonebook1.end(), B.Phonebook1.begin(),
                    [](const TPBEntry& X, const TPBEntry& Y) { return std::memcmp(&X, &Y, sizeof(X)) == 0; }) &&
         A.Pictures == B.Pictures && A.PictureCommits == B.PictureCommits &&
         std::memcmp(&A.Settings, &B.Settings, sizeof(A.Settings)) == 0 &&
         std::memcmp(A.Texts, B.Texts, sizeof(A.Texts)) == 0 && std::memcmp(A.Text, B.Text, sizeof(A.Text)) == 0 &&
         A.SimPin == B.SimPin && A.Clock == B.Clock && A.Contrast == B.Contrast && A.Intensity == B.Intensity;
}

std::string TPhoneModel::StoredValues() const {
  return "pin=" + (State.SimPin.empty() ? std::string("-") : State.SimPin) + " contrast=" + std::to_string(State.Contrast) +
         " intensity=" + std::to_string(State.Intensity);
}

void TPhoneModel::Handle(const TProtPacket& Request, std::vector<TProtPacket>& Frames) {
  if (Unanswered && Unanswered(Request)) return;
  TProtPacket Answer{};
  Answer.Channel = Request.Channel;
  Answer.Code = static_cast<uint8_t>(Request.Code | AnswerFlag);
  bool Answered = false;
  switch (Request.Channel) {
    case chSystem: Answered = HandleSystem(Request, Answer); break;
    case chConfig: Answered = HandleConfig(Request, Answer); break;
    case chPhonebook: Answered = HandlePhonebook(Request, Answer); break;
    case chDevice: Answered = HandleDevice(Request, Answer); break;
    default: break;
  }
  if (Answered) Frames.push_back(Answer);
}

bool TPhoneModel::HandleSystem(const TProtPacket& Request, TProtPacket& Answer) {
  if (Request.Len < 1 || Request.Data[0] != MemoryArea) return false;
  switch (Request.Code) {
    case SysAreaBase:
      Answer.Len = 5;
      Answer.Data[0] = MemoryArea;
      PutU32(Answer.Data + 1, State.AreaBase);
      return true;
    case SysCommitArea:
      // A commit names the base it was given; any other base is not this area's.
      if (Request.Len < 5 || GetU32(Request.Data + 1) != State.AreaBase) return false;
      ++State.Commits;
      State.UncommittedWrites = false;
      Answer.Len = 1;
      Answer.Data[0] = MemoryArea;
      return true;
    default:
      return false;
  }
}

bool TPhoneModel::HandleConfig(const TProtPacket& Request, TProtPacket& Answer) {
  switch (Request.Code) {
    case CfgSimPin:
      State.SimPin.assign(reinterpret_cast<const char*>(Request.Data), strnlen(reinterpret_cast<const char*>(Request.Data), std::min<size_t>(Request.Len, 7)));
      return true;
    case CfgSetClock:
      if (Request.Len < 14) return false;
      for (size_t i = 0; i < State.Clock.size(); ++i) State.Clock[i] = GetU16(Request.Data + 2 * i);
      return true;
    case CfgReadClock:
      Answer.Len = 14;
      for (size_t i = 0; i < State.Clock.size(); ++i) PutU16(Answer.Data + 2 * i, State.Clock[i]);
      return true;
    case CfgReadSettings:
      Answer.Len = sizeof(State.Settings);
      std::memcpy(Answer.Data, &State.Settings, sizeof(State.Settings));
      return true;
    case CfgWriteSettings:
      if (Request.Len < sizeof(State.Settings)) return false;
      std::memcpy(&State.Settings, Request.Data, sizeof(State.Settings));
      return true;
    case CfgWriteText:
      std::memset(State.Text, 0, sizeof(State.Text));
      std::memcpy(State.Text, Request.Data, std::min<size_t>(Request.Len, PhoneTextSize));
      return true;
    case CfgReadText:
      Answer.Len = PhoneTextSize;
      std::memcpy(Answer.Data, State.Text, PhoneTextSize);
      return true;
    case CfgWriteTextSlot: {
      const int Slot = Request.Len >= 1 ? Request.Data[0] : 0;
      if (Slot < 1 || Slot > PhoneTextSlots) return false;
      char* Text = State.Texts[Slot - 1];
      std::memset(Text, 0, PhoneTextSize);
      std::memcpy(Text, Request.Data + 1, std::min<size_t>(Request.Len - 1, PhoneTextSize));
      return true;
    }
    case CfgReadTextSlot: {
      const int Slot = Request.Len >= 1 ? Request.Data[0] : 0;
      if (Slot < 1 || Slot > PhoneTextSlots) return false;
      Answer.Len = 1 + PhoneTextSize;
      Answer.Data[0] = static_cast<uint8_t>(Slot);
      std::memcpy(Answer.Data + 1, State.Texts[Slot - 1], PhoneTextSize);
      return true;
    }
    default:
      return false;
  }
}

bool TPhoneModel::HandlePhonebook(const TProtPacket& Request, TProtPacket& Answer) {
  switch (Request.Code) {
    case PbFirstEntry:
    case PbNextEntry:
      FNextEntry = Request.Code == PbFirstEntry ? 0 : FNextEntry;
      if (FNextEntry < State.Phonebook1.size()) {
        Answer.Len = sizeof(TPBEntry);
        std::memcpy(Answer.Data, &State.Phonebook1[FNextEntry++], sizeof(TPBEntry));
      }
      return true;
    case PbStartWriting:
      // The entries that follow make up the whole phonebook.
      State.Phonebook1.clear();
      return true;
    case PbWriteEntry: {
      if (Request.Len < sizeof(TPBEntry)) return false;
      TPBEntry Entry;
      std::memcpy(&Entry, Request.Data, sizeof(Entry));
      State.Phonebook1.push_back(Entry);
      return true;
    }
    default:
      return HandlePicture(Request, Answer);
  }
}

bool TPhoneModel::MemorySpan(uint32_t Address, uint16_t Count, uint32_t& Offset) const {
  Offset = Address - State.AreaBase;  // wraps to a huge value below the base
  return Count >= 1 && Count <= MaxPacketData - MemoryRequestHeader && Offset < PhoneAreaSize &&
         Count <= PhoneAreaSize - Offset;
}

bool TPhoneModel::HandleDevice(const TProtPacket& Request, TProtPacket& Answer) {
  switch (Request.Code) {
    case DevContrast:
    case DevIntensity:
      if (Request.Len < 2) return false;
      (Request.Code == DevContrast ? State.Contrast : State.Intensity) = Request.Data[1];
      return true;
    case DevReadMemory:
    case DevWriteMemory: {
      if (Request.Len < MemoryRequestHeader) return false;
      const uint32_t Address = GetU32(Request.Data);
      const uint16_t Count = GetU16(Request.Data + 5);
      uint32_t Offset;
      if (!MemorySpan(Address, Count, Offset)) return false;
      // The answer repeats the request's address, zero byte and count.
      std::memcpy(Answer.Data, Request.Data, MemoryRequestHeader);
      Answer.Len = MemoryRequestHeader;
      if (Request.Code == DevReadMemory) {
        std::memcpy(Answer.Data + MemoryRequestHeader, State.Memory.data() + Offset, Count);
        Answer.Len = static_cast<uint16_t>(MemoryRequestHeader + Count);
      } else {
        if (Request.Len < MemoryRequestHeader + Count) return false;
        std::memcpy(State.Memory.data() + Offset, Request.Data + MemoryRequestHeader, Count);
        State.UncommittedWrites = true;
      }
      return true;
    }
    default:
      return false;
  }
}
