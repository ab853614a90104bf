// A description text that entries can carry, with the kana key a user types to find it.
#pragma once

#include <memory>
#include <string>

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class Tekiyou {
public:
  Tekiyou() = default;
  Tekiyou(std::string tekiyou, std::string kana) : tekiyou_(std::move(tekiyou)), kana_(std::move(kana)) {}

  const std::string& tekiyou() const { return tekiyou_; }
  void setTekiyou(const std::string& v) { tekiyou_ = v; }
  const std::string& kana() const { return kana_; }
  void setKana(const std::string& v) { kana_ = v; }

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

private:
  std::string tekiyou_;
  std::string kana_;
};

using TekiyouPtr = std::shared_ptr<Tekiyou>;

}  // namespace kivo
