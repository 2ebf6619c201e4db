#pragma once

#include <stdexcept>
#include <string>

namespace tovak {

// The root of every failure the program raises on purpose. Units derive their own class from it
// and carry only a message; boundaries (the builder, the windows, the command line) catch this
// class and show or record the message.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  ~Exception() override;
  std::string Message() const { return what(); }
};

}  // namespace tovak
