#pragma once
// The one exception type of the skin engine. The message is complete and meant
// for the user: it says what went wrong and, once known, in which file.

#include <stdexcept>
#include <string>

class ESkinError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
