// What a failed file operation's system error means, in Japanese words for the user:
// the system's own text is English.
#pragma once

#include <string>

namespace kivo {

class SystemErrorText {
public:
  // The reason for an errno value, without a final "。"; 0 (a failure the system did
  // not name) reads as an error of unknown cause.
  static std::string of(int errorNumber);
};

}  // namespace kivo
