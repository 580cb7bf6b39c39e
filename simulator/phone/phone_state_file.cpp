// The phone state file. It is read whole into memory and parsed from there,
// so a file cut short is refused before anything of State changes.
#include "phone_state_file.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "byte_order.h"

namespace {

constexpr char StateMagic[8] = {'Q', 'V', 'P', 'H', 'O', 'N', 'E', '1'};

class TWriter {
 public:
  void Bytes(const void* Data, size_t Size) {
    const auto* At = static_cast<const uint8_t*>(Data);
    FOut.insert(FOut.end(), At, At + Size);
  }
  void U32(uint32_t Value) {
    uint8_t Buffer[4];
    PutU32(Buffer, Value);
    Bytes(Buffer, 4);
  }
  void Vector(const std::vector<uint8_t>& Data) {
    U32(static_cast<uint32_t>(Data.size()));
    Bytes(Data.data(), Data.size());
  }
  std::vector<uint8_t> FOut;
};

class TReader {
 public:
  explicit TReader(const std::vector<uint8_t>& In) : FIn(In) {}
  bool Bytes(void* Data, size_t Size) {
    if (Size > FIn.size() - FAt) return false;
    if (Size > 0) std::memcpy(Data, FIn.data() + FAt, Size);
    FAt += Size;
    return true;
  }
  bool U32(uint32_t& Value) {
    uint8_t Buffer[4];
    if (!Bytes(Buffer, 4)) return false;
    Value = GetU32(Buffer);
    return true;
  }
  bool Vector(std::vector<uint8_t>& Data, uint32_t Limit) {
    uint32_t Size;
    if (!U32(Size) || Size > Limit) return false;
    Data.resize(Size);
    return Bytes(Data.data(), Size);
  }
  bool AtEnd() const { return FAt == FIn.size(); }

 private:
  const std::vector<uint8_t>& FIn;
  size_t FAt = 0;
};

// The largest picture: 65,535 square pixels and 256 palette records.
constexpr uint32_t MaxPictureBytes = 6 + 256 * 4 + 0xFFFFu * 0xFFFFu;

}  // namespace

bool SavePhoneState(const TPhoneState& State, const std::string& FileName) {
  TWriter Out;
  Out.Bytes(StateMagic, sizeof(StateMagic));
  Out.U32(State.AreaBase);
  Out.Vector(State.Memory);
  Out.U32(State.Commits);
  Out.Bytes(&State.UncommittedWrites, 1);
  Out.U32(static_cast<uint32_t>(State.Phonebook1.size()));
  Out.Bytes(State.Phonebook1.data(), State.Phonebook1.size() * sizeof(TPBEntry));
  for (const auto& Picture : State.Pictures) Out.Vector(Picture);
  Out.U32(State.PictureCommits);
  Out.Bytes(&State.Settings, sizeof(State.Settings));
  Out.Bytes(State.Texts, sizeof(State.Texts));
  Out.Bytes(State.Text, sizeof(State.Text));
  Out.Vector(std::vector<uint8_t>(State.SimPin.begin(), State.SimPin.end()));
  for (uint16_t Word : State.Clock) {
    uint8_t Buffer[2];
    PutU16(Buffer, Word);
    Out.Bytes(Buffer, 2);
  }
  Out.Bytes(&State.Contrast, 1);
  Out.Bytes(&State.Intensity, 1);

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> File(std::fopen(FileName.c_str(), "wb"), std::fclose);
  if (!File) return false;
  if (std::fwrite(Out.FOut.data(), 1, Out.FOut.size(), File.get()) != Out.FOut.size()) return false;
  return std::fclose(File.release()) == 0;
}

bool LoadPhoneState(TPhoneState& State, const std::string& FileName) {
  std::vector<uint8_t> In;
  {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> File(std::fopen(FileName.c_str(), "rb"), std::fclose);
    if (!File) return false;
    uint8_t Buffer[4096];
    size_t Got;
    while ((Got = std::fread(Buffer, 1, sizeof(Buffer), File.get())) > 0) In.insert(In.end(), Buffer, Buffer + Got);
    if (std::ferror(File.get())) return false;
  }
  TReader Reader(In);
  TPhoneState Loaded;
  char Magic[sizeof(StateMagic)];
  uint32_t Entries = 0;
  bool Ok = Reader.Bytes(Magic, sizeof(Magic)) && std::memcmp(Magic, StateMagic, sizeof(Magic)) == 0 &&
            Reader.U32(Loaded.AreaBase) && Reader.Vector(Loaded.Memory, PhoneAreaSize) &&
            Loaded.Memory.size() == PhoneAreaSize && Reader.U32(Loaded.Commits) &&
            Reader.Bytes(&Loaded.UncommittedWrites, 1) && Reader.U32(Entries) && Entries <= In.size();
  if (!Ok) return false;
  Loaded.Phonebook1.resize(Entries);
  Ok = Reader.Bytes(Loaded.Phonebook1.data(), Entries * sizeof(TPBEntry));
  for (auto& Picture : Loaded.Pictures) Ok = Ok && Reader.Vector(Picture, MaxPictureBytes);
  std::vector<uint8_t> Pin;
  Ok = Ok && Reader.U32(Loaded.PictureCommits) && Reader.Bytes(&Loaded.Settings, sizeof(Loaded.Settings)) &&
       Reader.Bytes(Loaded.Texts, sizeof(Loaded.Texts)) && Reader.Bytes(Loaded.Text, sizeof(Loaded.Text)) &&
       Reader.Vector(Pin, 6);
  for (uint16_t& Word : Loaded.Clock) {
    uint8_t Buffer[2];
    Ok = Ok && Reader.Bytes(Buffer, 2);
    if (Ok) Word = GetU16(Buffer);
  }
  Ok = Ok && Reader.Bytes(&Loaded.Contrast, 1) && Reader.Bytes(&Loaded.Intensity, 1) && Reader.AtEnd();
  if (!Ok) return false;
  Loaded.SimPin.assign(Pin.begin(), Pin.end());
  State = std::move(Loaded);
  return true;
}
