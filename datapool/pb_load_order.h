// The order in which a phonebook's data-file section leaves its entries:
// each entry added on its own with the list sorted after every addition, then
// the list sorted once more. Since the sort is not stable, the order among
// equal upper-cased names depends on every one of those sorts; doing them all
// takes quadratic time (seconds for 10,000 entries), so the order is worked
// out instead; a list the program never writes (out of order with equal
// names, or with an overlong run of them) is sorted once, stably. See
// pb_load_order.cpp.
#pragma once

#include <vector>

#include "pb_entry.h"

// Entries as the section holds them; the result is the loaded list.
std::vector<TPBEntry> LoadedOrder(std::vector<TPBEntry> Entries);
