#pragma once
// The failure of a conversion of text or of an object into another form
// (a number that does not parse, an assignment from nothing). One class for
// the whole tree: the toolkit-free crash reporter and the controls both
// raise it.
#include <stdexcept>

namespace rasp {

class EConvertError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

} // namespace rasp
