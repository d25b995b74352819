#pragma once
// A keyed collection in insertion order, read by key or by 1-based position. Keys match without
// regard to ASCII case. Adding a key that is present, or reading or removing one that is absent,
// fails.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "hotkey/hotkey_errors.h"

namespace lumenor::hotkey {

template <typename T>
class KeyedCollection {
 public:
  std::size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }

  bool Contains(std::string_view key) const { return Find(key) != entries_.end(); }

  void Add(std::string key, T item) {
    if (Contains(key)) throw DuplicateKeyError(key);
    entries_.emplace_back(std::move(key), std::move(item));
  }

  T& Item(std::string_view key) { return FindOrThrow(key)->second; }
  const T& Item(std::string_view key) const { return FindOrThrow(key)->second; }

  T& Item(std::size_t position) { return entries_.at(CheckPosition(position) - 1).second; }
  const std::string& KeyAt(std::size_t position) const {
    return entries_.at(CheckPosition(position) - 1).first;
  }

  void Remove(std::string_view key) { entries_.erase(FindOrThrow(key)); }

 private:
  using Entries = std::vector<std::pair<std::string, T>>;

  static bool SameKey(std::string_view a, std::string_view b) {
    auto fold = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::ranges::equal(a, b, [&](char x, char y) { return fold(x) == fold(y); });
  }

  typename Entries::const_iterator Find(std::string_view key) const {
    return std::ranges::find_if(entries_, [&](const auto& e) { return SameKey(e.first, key); });
  }
  typename Entries::iterator Find(std::string_view key) {
    return std::ranges::find_if(entries_, [&](const auto& e) { return SameKey(e.first, key); });
  }
  typename Entries::const_iterator FindOrThrow(std::string_view key) const {
    auto it = Find(key);
    if (it == entries_.end()) throw AbsentKeyError(std::string(key));
    return it;
  }
  typename Entries::iterator FindOrThrow(std::string_view key) {
    auto it = Find(key);
    if (it == entries_.end()) throw AbsentKeyError(std::string(key));
    return it;
  }
  std::size_t CheckPosition(std::size_t position) const {
    if (position < 1 || position > entries_.size())
      throw AbsentKeyError("position " + std::to_string(position));
    return position;
  }

  Entries entries_;
};

}  // namespace lumenor::hotkey
