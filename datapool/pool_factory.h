// Creates the pool of one index for its owner. The owner builds its six pools
// through this so that it need not know every pool class.
#pragma once

#include <memory>

#include "pool_types.h"

class TQV_DATAPOOL;

// Index is one of the PoolCount indexes.
std::unique_ptr<TQV_DATAPOOL> CreatePool(TQVDP_ALL* Owner, TPoolIndex Index);
