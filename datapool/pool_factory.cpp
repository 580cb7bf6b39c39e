// The pool class of each index.
#include "pool_factory.h"

#include "qvdp_config.h"
#include "qvdp_language.h"
#include "qvdp_phonebook1.h"
#include "qvdp_phonebook2.h"
#include "qvdp_pictures.h"
#include "qvdp_ringtones.h"

namespace {

template <typename TPool>
std::unique_ptr<TQV_DATAPOOL> Make(TQVDP_ALL* Owner) {
  return std::make_unique<TPool>(Owner);
}

using TCreator = std::unique_ptr<TQV_DATAPOOL> (*)(TQVDP_ALL*);

// In the order of TPoolIndex, one per index.
constexpr TCreator Creators[PoolCount] = {Make<TQVDP_PHONEBOOK1>, Make<TQVDP_PHONEBOOK2>, Make<TQVDP_PICTURES>,
                                          Make<TQVDP_CONFIG>,     Make<TQVDP_LANGUAGE>,   Make<TQVDP_RINGTONES>};
static_assert(piPhonebook1 == 0 && piPhonebook2 == 1 && piPictures == 2 && piConfig == 3 && piLanguage == 4 &&
                  piRingtones == 5,
              "Creators follows TPoolIndex");

}  // namespace

std::unique_ptr<TQV_DATAPOOL> CreatePool(TQVDP_ALL* Owner, TPoolIndex Index) { return Creators[Index](Owner); }
