// The layouts built into the program and into each language module, as the
// build generated them: each module's window has the same controls, ids,
// parents, bindings and properties as the program's, and differs only in its
// texts and, where a translation needs room, in sizes.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "layout.h"

namespace {

const char* const Forms[] = {"TFRMMAIN", "TFRMEDTPBITEM", "TFRMPICCREATOR", "TFRMFIRSTLOAD", "TFRMQVREAD", "TFRMQVWRITE"};
const char* const Modules[] = {"en", "nl", "fr", "it", "es"};

const std::set<std::string> TextKeys = {"caption", "hint", "title", "filter", "items"};
const std::set<std::string> SizeKeys = {"left", "top", "width", "height", "clientwidth", "clientheight"};

TLayout Generated(const std::string& Language, const std::string& Form) {
  std::ifstream In(std::string(QV_GENERATED_DIR) + "/" + Language + "/" + Form + ".qvl", std::ios::binary);
  std::stringstream Bytes;
  Bytes << In.rdbuf();
  return ParseLayout(Form, Bytes.str());
}

TEST(GeneratedLayouts, EveryModuleMatchesTheProgram) {
  for (const char* Form : Forms) {
    const TLayout Program = Generated("de", Form);
    for (const char* Module : Modules) {
      SCOPED_TRACE(std::string(Module) + " " + Form);
      const TLayout L = Generated(Module, Form);
      ASSERT_EQ(L.Controls.size(), Program.Controls.size());
      for (size_t I = 0; I < L.Controls.size(); ++I) {
        const TLayoutControl &C = L.Controls[I], &P = Program.Controls[I];
        EXPECT_EQ(C.Kind, P.Kind);
        EXPECT_EQ(C.Name, P.Name);
        EXPECT_EQ(C.Parent, P.Parent);
        EXPECT_EQ(C.Id, P.Id);
        std::set<std::string> Keys;
        for (const auto& KV : C.Props) Keys.insert(KV.first);
        for (const auto& KV : P.Props) Keys.insert(KV.first);
        for (const std::string& Key : Keys) {
          if (TextKeys.count(Key)) {
            // A text the program shows has a text in every module.
            EXPECT_EQ(C.Prop(Key).empty(), P.Prop(Key).empty()) << C.Name << "." << Key;
          } else if (!SizeKeys.count(Key)) {
            EXPECT_EQ(C.Prop(Key, "<none>"), P.Prop(Key, "<none>")) << C.Name << "." << Key;
          }
        }
      }
    }
  }
}

TEST(GeneratedLayouts, ControlIdsAreUniqueWithinAWindow) {
  for (const char* Form : Forms) {
    const TLayout L = Generated("de", Form);
    std::set<int> Ids;
    for (size_t I = 1; I < L.Controls.size(); ++I)
      EXPECT_TRUE(Ids.insert(L.Controls[I].Id).second) << Form << " " << L.Controls[I].Name;
  }
}

}  // namespace
