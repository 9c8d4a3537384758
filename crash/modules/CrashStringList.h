#pragma once
// A list of strings that tells its owner about every change, so that the
// exception filter lists of an options object announce themselves through the
// same path as the options' own setters.
#include <functional>
#include <string>
#include <vector>

namespace rasp {

class TCrashStringList {
public:
  explicit TCrashStringList(std::function<void()> onChange = {}) : FOnChange(std::move(onChange)) {}

  int Count() const { return int(FItems.size()); }
  const std::string& operator[](int i) const { return FItems[size_t(i)]; }
  const std::vector<std::string>& Items() const { return FItems; }
  // The element at i, or an empty string past the end.
  std::string At(int i) const { return i >= 0 && i < Count() ? FItems[size_t(i)] : std::string(); }

  void Add(std::string s) { FItems.push_back(std::move(s)); changed(); }
  void Put(int i, std::string s) { FItems[size_t(i)] = std::move(s); changed(); }
  void Delete(int i) { FItems.erase(FItems.begin() + i); changed(); }
  void Clear() { FItems.clear(); changed(); }
  void Assign(const std::vector<std::string>& items) { FItems = items; changed(); }

private:
  void changed() { if (FOnChange) FOnChange(); }
  std::vector<std::string> FItems;
  std::function<void()> FOnChange;
};

} // namespace rasp
