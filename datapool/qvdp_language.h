// TQVDP_LANGUAGE, the pool of the languages installed on the phone.
//
// The image is kept raw and written back unchanged; the pool parses it only
// for the display names that the settings page offers, whose positions are
// the values of TPhoneSettings.Language. After a write the phone is made to
// select its language again, through a temporary configuration pool.
#pragma once

#include <string>
#include <vector>

#include "qvdp_image_pool.h"

constexpr uint32_t LanguageImageOffset = 0x8000;

class TQVDP_LANGUAGE : public TQVDP_IMAGEPOOL {
 public:
  explicit TQVDP_LANGUAGE(TQVDP_ALL* AOwner);
  ~TQVDP_LANGUAGE() override;

  // Zeroes the image header and frees the lists; announces, keeps FChanged.
  void Clear() override;
  // "Standard (Deutsch)", then each language's display name; parses anew.
  const std::vector<std::string>& Names();
  void ParseImage() override;
  void ClearLanguages();

  std::vector<std::string> FNames;
  std::vector<TLangStringList> FLanguages;  // one per record, in image order

 protected:
  // The language re-select: settings read, then Language 0, then the wanted one.
  bool AfterImageWritten() override;
};
