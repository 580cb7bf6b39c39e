// Version text and step texts. The step texts' numbers do not follow the pool
// order: phonebook 2 and the pictures swap places, so the table says it.
#include "utils.h"

#include "resource_texts.h"
#include "text_ids.h"

std::string VersionText(uint32_t Version) {
  std::string Text(1, static_cast<char>(Version >> 24));
  Text += std::to_string((Version >> 16) & 0xFF) + "." + std::to_string((Version >> 8) & 0xFF) +
          std::to_string(Version & 0xFF);
  return Text;
}

namespace {

// Offset of each pool's text from the first step text: phonebook 1, phonebook
// 2, pictures, configuration, languages, ring tones.
constexpr int StepOffset[] = {0, 2, 1, 3, 4, 5};

int StepTextId(int First, int Index) {
  return Index >= 0 && Index < 6 ? First + StepOffset[Index] : 0;
}

std::string TextOrEmpty(int Id) { return Id ? ResourceText(Id) : std::string(); }

}  // namespace

std::string ReadStepText(TPoolIndex Index) { return TextOrEmpty(StepTextId(FirstReadStepTextId, Index)); }
std::string WriteStepText(TPoolIndex Index) { return TextOrEmpty(StepTextId(FirstWriteStepTextId, Index)); }
