// The pool class of each index.
#include "pool_factory.h"

#include "qvdp_config.h"
#include "qvdp_language.h"
#include "qvdp_phonebook1.h"
#include "qvdp_phonebook2.h"
#include "qvdp_pictures.h"
#include "qvdp_ringtones.h"

std::unique_ptr<TQV_DATAPOOL> CreatePool(TQVDP_ALL* Owner, TPoolIndex Index) {
  switch (Index) {
    case piPhonebook1: return std::make_unique<TQVDP_PHONEBOOK1>(Owner);
    case piPhonebook2: return std::make_unique<TQVDP_PHONEBOOK2>(Owner);
    case piPictures: return std::make_unique<TQVDP_PICTURES>(Owner);
    case piConfig: return std::make_unique<TQVDP_CONFIG>(Owner);
    case piLanguage: return std::make_unique<TQVDP_LANGUAGE>(Owner);
    case piRingtones: return std::make_unique<TQVDP_RINGTONES>(Owner);
    default: return nullptr;
  }
}
