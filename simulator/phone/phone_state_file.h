// A phone's whole state in a file, so the simulator can start from a seeded
// phone and keep what the desktop program wrote. The format is this
// program's own: a magic, then every field in TPhoneState order,
// little-endian, each vector with its length first.
#pragma once

#include <string>

#include "phone_state.h"

bool SavePhoneState(const TPhoneState& State, const std::string& FileName);
// False for a file that cannot be read or does not hold a whole state; State
// is then left as it was.
bool LoadPhoneState(TPhoneState& State, const std::string& FileName);
