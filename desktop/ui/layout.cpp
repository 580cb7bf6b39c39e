// Parser of the layout resource format described in layout.h.
#include "layout.h"

#include <cstdlib>

const std::string TLayoutControl::Empty;

const std::string& TLayoutControl::Prop(const std::string& Key, const std::string& Default) const {
  const auto It = Props.find(Key);
  return It == Props.end() ? Default : It->second;
}

int TLayoutControl::IntProp(const std::string& Key, int Default) const {
  const auto It = Props.find(Key);
  if (It == Props.end()) return Default;
  char* End = nullptr;
  const long Value = std::strtol(It->second.c_str(), &End, 10);
  if (It->second.empty() || *End != '\0')
    throw TLayoutError("control " + Name + ": " + Key + "=" + It->second + " is not a number");
  return static_cast<int>(Value);
}

bool TLayoutControl::BoolProp(const std::string& Key, bool Default) const {
  return IntProp(Key, Default ? 1 : 0) != 0;
}

int TLayout::Find(const std::string& ControlName) const {
  for (size_t I = 0; I < Controls.size(); ++I)
    if (Controls[I].Name == ControlName) return static_cast<int>(I);
  return -1;
}

namespace {

std::vector<std::string> Split(const std::string& Line, char Sep) {
  std::vector<std::string> Fields;
  size_t Start = 0;
  for (;;) {
    const size_t End = Line.find(Sep, Start);
    Fields.push_back(Line.substr(Start, End - Start));
    if (End == std::string::npos) return Fields;
    Start = End + 1;
  }
}

std::string Unescape(const std::string& Value) {
  std::string Out;
  for (size_t I = 0; I < Value.size(); ++I) {
    if (Value[I] != '\\' || I + 1 == Value.size()) {
      Out += Value[I];
      continue;
    }
    switch (Value[++I]) {
      case 't': Out += '\t'; break;
      case 'n': Out += '\n'; break;
      case 'r': Out += '\r'; break;
      default: Out += Value[I]; break;
    }
  }
  return Out;
}

}  // namespace

TLayout ParseLayout(const std::string& Name, const std::string& Bytes) {
  TLayout Layout;
  Layout.Name = Name;
  std::vector<std::string> Lines = Split(Bytes, '\n');
  if (!Lines.empty() && Lines.back().empty()) Lines.pop_back();
  const auto Fail = [&](size_t Line, const std::string& Cause) {
    return TLayoutError("layout " + Name + ", line " + std::to_string(Line + 1) + ": " + Cause);
  };
  if (Lines.empty() || Lines[0] != "QVL1") throw Fail(0, "not a layout resource");
  for (size_t L = 1; L < Lines.size(); ++L) {
    const std::vector<std::string> Fields = Split(Lines[L], '\t');
    if (Fields.size() < 4) throw Fail(L, "fewer than four fields");
    TLayoutControl C;
    C.Kind = Fields[0];
    C.Name = Fields[1];
    if (C.Kind.empty() || C.Name.empty()) throw Fail(L, "a control without kind or name");
    if (Layout.Find(C.Name) >= 0) throw Fail(L, "second control named " + C.Name);
    if (Layout.Controls.empty()) {
      if (C.Kind != "form" || !Fields[2].empty()) throw Fail(L, "the first control is not the window");
    } else {
      C.Parent = Layout.Find(Fields[2]);
      if (C.Parent < 0) throw Fail(L, C.Name + ": unknown parent " + Fields[2]);
    }
    char* End = nullptr;
    C.Id = static_cast<int>(std::strtol(Fields[3].c_str(), &End, 10));
    if (Fields[3].empty() || *End != '\0' || C.Id < 0 || C.Id > 0xFFFF) throw Fail(L, C.Name + ": bad id " + Fields[3]);
    for (size_t F = 4; F < Fields.size(); ++F) {
      const size_t Eq = Fields[F].find('=');
      if (Eq == std::string::npos || Eq == 0) throw Fail(L, C.Name + ": property without value: " + Fields[F]);
      C.Props[Fields[F].substr(0, Eq)] = Unescape(Fields[F].substr(Eq + 1));
    }
    Layout.Controls.push_back(std::move(C));
  }
  if (Layout.Controls.empty()) throw Fail(1, "no window");
  return Layout;
}
