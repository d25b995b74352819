#pragma once
// The errors of the hotkey subsystem. Each ends the operation that raised it and goes to its
// caller, except where an operation is said to swallow failures.

#include <string>

#include "platform/failure.h"

namespace lumenor::hotkey {

class HotkeyError : public platform::Failure {
 public:
  using platform::Failure::Failure;
};

// A registry already holds an entry under the key being added.
class DuplicateKeyError : public HotkeyError {
 public:
  explicit DuplicateKeyError(const std::string& key)
      : HotkeyError("key already associated with an element of this collection: " + key) {}
};

// A registry holds no entry under the key or at the position asked for.
class AbsentKeyError : public HotkeyError {
 public:
  explicit AbsentKeyError(const std::string& what) : HotkeyError("no such element: " + what) {}
};

// A control's hotkey record is needed after the control has released it.
class ObjectNotSetError : public HotkeyError {
 public:
  ObjectNotSetError() : HotkeyError("object variable not set: the hotkey record is released") {}
};

// A stored value does not convert to the type asked for.
class TypeMismatchError : public HotkeyError {
 public:
  explicit TypeMismatchError(const std::string& what) : HotkeyError("type mismatch: " + what) {}
};

// A number does not fit the width it is narrowed to.
class OverflowError : public HotkeyError {
 public:
  explicit OverflowError(const std::string& what) : HotkeyError("overflow: " + what) {}
};

// A settings-bag key that cannot be stored (not UTF-8, or too long for the stored form).
class InvalidKeyError : public HotkeyError {
 public:
  explicit InvalidKeyError(const std::string& what) : HotkeyError("invalid key: " + what) {}
};

// A stored property block that is not a well-formed settings bag.
class BadSettingsBlockError : public HotkeyError {
 public:
  explicit BadSettingsBlockError(const std::string& what)
      : HotkeyError("bad stored property block: " + what) {}
};

}  // namespace lumenor::hotkey
