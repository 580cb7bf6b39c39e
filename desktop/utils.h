// Small shared routines of the desktop program: the version text of the main
// window's title and the step texts of the read and write dialogs.
#pragma once

#include <cstdint>
#include <string>

#include "pool_types.h"

// "%s%d.%d%d" from the four bytes of Version, most significant first: the
// first byte as a character, then three unsigned numbers ("V1.04" for
// 0x56010004).
std::string VersionText(uint32_t Version);

// The progress texts of reading and writing pool Index; empty outside the six
// pools (piNone, which a write reports at its end).
std::string ReadStepText(TPoolIndex Index);
std::string WriteStepText(TPoolIndex Index);
