// The control interface's commands, one line each, words split by blanks;
// numbers are decimal or 0x-hex, byte strings hex ("-" for none):
//   plug [vendor product interface]   plug a phone in; "ok <id> taken|refused"
//   unplug [id]                       unplug a phone (default: the latest taken)
//   payload <code> <hex>              answer requests with this code with these data
//   send <channel> <code> <hex>       an unsolicited frame from the latest phone
//   serial-send <channel> <code> <hex>  the same on the serial line
//   before <channel> <code> <hex>     an unsolicited frame sent just before the next answer
//   drop | corrupt | delay <ms> | channel <ch> | duplicate <hex> | lie <len>
//                                     a fault for the next answer (duplicate: a
//                                     second answer with the same code and these
//                                     data; lie: its Len field says <len>)
//   silence <channel> <code>          the phone goes dead at the next request with this
//                                     channel and code: from it on nothing is handled or
//                                     answered (requests are still counted)
//   serial-stall | serial-resume      stop and resume reading the serial line
//   serial-close                      the serial line goes away for good (an adapter pulled out)
//   serial-settings                   "ok speed=<baud> bits=<n> parity=<on|none> stop=<n>"
//   requests                          "ok <number of requests received>"
//   last                              "ok <channel> <code> <hex>" of the last request
//   link                              "ok usb" or "ok serial": where the last request came from
//   stored                            "ok pin=<SIM PIN or -> contrast=<n> intensity=<n>": what
//                                     the phone keeps of the SIM PIN and the live display values
//   reset                             unplug every phone, forget payloads and faults,
//                                     flush the serial line, number phones from 1 again
//   quit                              end the simulator
#include <sstream>
#include <vector>

#include "hex.h"
#include "link_types.h"
#include "phone_server.h"

namespace {

std::optional<long> ParseNumber(const std::string& text) {
  try {
    size_t used = 0;
    const long value = std::stol(text, &used, 0);
    if (used == text.size()) return value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> TPhoneServer::Execute(const std::string& Line, int ReplyFd) {
  std::istringstream in(Line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  if (words.empty()) return "error empty command";
  const std::string& command = words[0];
  std::vector<long> numbers;
  std::optional<std::vector<uint8_t>> bytes;
  // Arguments: every word but the last of a byte-taking command is a number.
  const bool takesBytes = command == "payload" || command == "send" || command == "serial-send" ||
                          command == "before" || command == "duplicate";
  for (size_t i = 1; i < words.size(); ++i) {
    if (takesBytes && i + 1 == words.size()) {
      bytes = ParseHex(words[i]);
      if (!bytes) return "error bad hex: " + words[i];
    } else if (const auto number = ParseNumber(words[i])) {
      numbers.push_back(*number);
    } else {
      return "error bad number: " + words[i];
    }
  }
  auto wants = [&](size_t count) { return numbers.size() == count && (!takesBytes || bytes); };

  if (command == "plug" && (wants(0) || wants(3))) {
    TPlug phone{FNextPhoneId++, PhoneVendorId, PhoneProductId, 0, ReplyFd, TClock::now() + PlugTimeout};
    if (numbers.size() == 3) {
      phone.VendorId = static_cast<uint16_t>(numbers[0]);
      phone.ProductId = static_cast<uint16_t>(numbers[1]);
      phone.Interface = static_cast<uint8_t>(numbers[2]);
    }
    FWaitingPlugs.push_back(phone);
    OfferPlugs();
    return std::nullopt;
  }
  if (command == "unplug" && numbers.size() <= 1) {
    TBusPort* port = numbers.empty() ? LatestPhone() : FindPhone(static_cast<int>(numbers[0]));
    if (!port || port->Serial) return "error no such phone";
    ClosePort(*port);
    return "ok";
  }
  if (command == "payload" && wants(1)) {
    FEcho.SetPayload(static_cast<uint8_t>(numbers[0]), *bytes);
    return "ok";
  }
  if ((command == "send" || command == "serial-send") && wants(2)) {
    TBusPort* port = command == "send" ? LatestPhone() : SerialLine();
    if (!port) return "error no phone plugged";
    const auto frame = EncodeToBytes(MakeFrame(static_cast<uint8_t>(numbers[0]), static_cast<uint8_t>(numbers[1]), *bytes));
    FScheduled.push_back({TClock::now(), port->Phone->Id, frame});
    SendDue();
    return "ok";
  }
  if (command == "before" && wants(2)) {
    FBefore.push_back(EncodeToBytes(MakeFrame(static_cast<uint8_t>(numbers[0]), static_cast<uint8_t>(numbers[1]), *bytes)));
    return "ok";
  }
  if (command == "drop" && wants(0)) return FFaults.Drop(), "ok";
  if (command == "corrupt" && wants(0)) return FFaults.CorruptCrc(), "ok";
  if (command == "delay" && wants(1)) return FFaults.Delay(static_cast<int>(numbers[0])), "ok";
  if (command == "channel" && wants(1)) return FFaults.OtherChannel(static_cast<uint8_t>(numbers[0])), "ok";
  if (command == "duplicate" && wants(0)) return FFaults.Duplicate(*bytes), "ok";
  if (command == "lie" && wants(1)) return FFaults.Lie(static_cast<uint16_t>(numbers[0])), "ok";
  if (command == "silence" && wants(2)) {
    FSilenceAt = TProtPacket{};
    FSilenceAt->Channel = static_cast<uint8_t>(numbers[0]);
    FSilenceAt->Code = static_cast<uint8_t>(numbers[1]);
    return "ok";
  }
  if ((command == "serial-stall" || command == "serial-resume") && wants(0)) {
    TBusPort* line = SerialLine();
    if (!line) return "error no serial line";
    line->Stalled = command == "serial-stall";
    return "ok";
  }
  if (command == "serial-close" && wants(0)) return CloseSerialLine();
  if (command == "serial-settings" && wants(0)) return SerialSettings();
  if (command == "link" && wants(0)) return FLastOnSerial ? "ok serial" : "ok usb";
  if (command == "stored" && wants(0)) {
    const std::string values = FResponder.StoredValues();
    return values.empty() ? "error the phone keeps no values" : "ok " + values;
  }
  if (command == "requests" && wants(0)) return "ok " + std::to_string(FRequests);
  if (command == "last" && wants(0))
    return "ok " + std::to_string(FLastRequest.Channel) + " " + std::to_string(FLastRequest.Code) + " " +
           FormatHex(FLastRequest.Data, std::min<size_t>(FLastRequest.Len, MaxPacketData));
  if (command == "reset" && wants(0)) {
    for (auto& port : FPorts)
      if (port.State != TBusPort::TState::Empty && !port.Serial) ClosePort(port);
    FlushSerialLine();
    FWaitingPlugs.clear();
    FScheduled.clear();
    FBefore.clear();
    FFaults.Clear();
    FSilenceAt.reset();
    FSilent = false;
    FEcho.Clear();
    FRequests = 0;
    FLastRequest = TProtPacket{};
    FNextPhoneId = 1;
    FLastOnSerial = false;
    return "ok";
  }
  if (command == "quit" && wants(0)) {
    FQuit = true;
    return "ok";
  }
  return "error unknown command or arguments: " + Line;
}
