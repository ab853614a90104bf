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
