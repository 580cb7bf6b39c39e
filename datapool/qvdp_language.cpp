// The language pool, see qvdp_language.h.
#include "qvdp_language.h"

#include <memory>

#include "qvdp_all.h"
#include "qvdp_config.h"

TQVDP_LANGUAGE::TQVDP_LANGUAGE(TQVDP_ALL* AOwner) : TQVDP_IMAGEPOOL(AOwner, piLanguage, LanguageImageOffset) {
  Clear();
}

TQVDP_LANGUAGE::~TQVDP_LANGUAGE() { Clear(); }

void TQVDP_LANGUAGE::Clear() {
  ClearImage();
  ClearLanguages();
  Changed();
}

void TQVDP_LANGUAGE::ParseImage() { ParseLanguageImage(FImage.data(), MaxImageSize, FLanguages); }

void TQVDP_LANGUAGE::ClearLanguages() { FLanguages.clear(); }

const std::vector<std::string>& TQVDP_LANGUAGE::Names() {
  ParseImage();
  FNames.assign(1, "Standard (Deutsch)");
  for (const TLangStringList& texts : FLanguages) FNames.push_back(texts.front());
  return FNames;
}

bool TQVDP_LANGUAGE::AfterImageWritten() {
  // The phone takes up a new language image only when its language setting
  // changes, so it is set to 0 and back. The record sent is the phone's own,
  // changed only in its Language byte.
  const auto* ownPool = FOwner ? static_cast<const TQVDP_CONFIG*>(FOwner->Pools(piConfig)) : nullptr;
  const auto phone = std::make_unique<TQVDP_CONFIG>(FOwner);
  if (!phone->ReadConfig(true)) return false;
  const uint8_t wanted = ownPool && ownPool->FChanged ? ownPool->FSettings.Language : phone->FSettings.Language;
  phone->SetLanguage(0, false);
  if (!phone->WriteConfig(false, true)) return false;
  phone->SetLanguage(wanted, false);
  return phone->WriteConfig(false, true);
}
