// The link library's one exception: the serial and USB links raise it when they
// cannot open or set up, and the protocol driver catches it, notes the link as
// not open and shows nothing. It never leaves the library, so it carries only
// its message text.
#pragma once

#include <stdexcept>
#include <string>

class TCommException : public std::runtime_error {
 public:
  explicit TCommException(const std::string& Message) : std::runtime_error(Message) {}
};
