#pragma once
// An error the program raises for its callers to catch, with a message of its own. It keeps the
// message in the program's one string type: std::runtime_error keeps a second, reference-counted
// kind, and linking that brings a whole second string implementation into the exe.

#include <exception>
#include <string>
#include <utility>

namespace lumenor::platform {

class Failure : public std::exception {
 public:
  explicit Failure(std::string what) : what_(std::move(what)) {}
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string what_;
};

}  // namespace lumenor::platform
