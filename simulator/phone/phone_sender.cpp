// The model as OnSendPacket: the answer is the first frame whose code is the
// request's with AnswerFlag, as the link library matches answers.
#include "phone_sender.h"

#include <cstring>

TSendPacketEvent PhoneModelSender(TPhoneModel& Model, std::vector<TProtPacket>* Log) {
  return [&Model, Log](TQVDP_ALL*, TProtPacket& Packet, int32_t) {
    if (Log) Log->push_back(Packet);
    std::vector<TProtPacket> Frames;
    Model.Handle(Packet, Frames);
    for (const TProtPacket& Frame : Frames) {
      if (Frame.Code != (Packet.Code | AnswerFlag)) continue;
      std::memcpy(&Packet, &Frame, PacketHeaderSize + Frame.Len);
      return true;
    }
    return false;
  };
}
