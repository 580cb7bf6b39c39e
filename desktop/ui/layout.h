// A window layout as the window layer reads it from a layout resource: the
// controls of one window in creation order, each with its kind, name, parent,
// control id and properties. The resource is text in code page 1252 that the
// layout generator (desktop/forms/gen_layouts.py) writes: a "QVL1" line, then
// one control per line, its fields separated by tabs:
//   KIND NAME PARENT ID key=value key=value ...
// with \t, \n, \r and \\ escaped in values. Keeping the format textual lets a
// module's layout be read by eye and keeps this parser small; it is portable
// so that it is tested natively.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

struct TLayoutControl {
  std::string Kind;
  std::string Name;
  int Parent = -1;  // index into TLayout::Controls, -1 for the window itself
  int Id = 0;       // the window control id; 0 for the window
  std::map<std::string, std::string> Props;

  // The property's value, or Default when the layout does not give it.
  const std::string& Prop(const std::string& Key, const std::string& Default = Empty) const;
  int IntProp(const std::string& Key, int Default) const;
  bool BoolProp(const std::string& Key, bool Default) const;

 private:
  static const std::string Empty;
};

struct TLayout {
  std::string Name;  // the resource name, for error texts
  std::vector<TLayoutControl> Controls;  // [0] is the window

  // The index of the control named Name, -1 when the layout has none.
  int Find(const std::string& Name) const;
};

// A layout that cannot be read, or a control the program needs that the
// layout lacks; the text names the layout and the cause.
class TLayoutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the layout resource Name from its bytes; throws TLayoutError.
TLayout ParseLayout(const std::string& Name, const std::string& Bytes);
