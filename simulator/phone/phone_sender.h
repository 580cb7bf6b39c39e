// Serves a TPhoneModel as the data pool's OnSendPacket, for native tests and
// benchmarks: a request goes straight to the model, and its answer, when the
// model gives one, is copied over the packet as the link library does.
#pragma once

#include <vector>

#include "phone_model.h"
#include "pool_types.h"

// Log, when given, receives a copy of every request before it is handled.
TSendPacketEvent PhoneModelSender(TPhoneModel& Model, std::vector<TProtPacket>* Log = nullptr);
