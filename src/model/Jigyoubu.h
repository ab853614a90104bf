// A division of the company: a two-digit code (99 stands for the whole company and
// is never a division of its own), a name and a kana key.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class Jigyoubu {
public:
  static constexpr int32_t kAllJigyoubuCode = 99;
  // Two digits (99 the whole company); -1 stands for none. The reader refuses any
  // other value, so that at most 101 division codes ever meet a builder.
  static constexpr bool isCodeInRange(int32_t code) { return code >= -1 && code <= kAllJigyoubuCode; }

  int32_t code() const { return code_; }
  void setCode(int32_t v) { code_ = v; }
  const std::string& name() const { return name_; }
  void setName(const std::string& v) { name_ = v; }
  const std::string& kana() const { return kana_; }
  void setKana(const std::string& v) { kana_ = v; }
  bool isActive() const { return isActive_; }
  void setIsActive(bool v) { isActive_ = v; }
  std::string codeString() const;

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

private:
  int32_t code_ = -1;
  std::string name_;
  std::string kana_;
  bool isActive_ = false;
};

using JigyoubuPtr = std::shared_ptr<Jigyoubu>;

}  // namespace kivo
