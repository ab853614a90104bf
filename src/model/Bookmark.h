// A named bookmark on a transfer voucher: its number is one a voucher can carry
// (Kaisya::isDenpyouNoInRange), or the file is damaged.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class Bookmark {
public:
  int32_t denpyouNo() const { return denpyouNo_; }
  void setDenpyouNo(int32_t v) { denpyouNo_ = v; }
  const std::string& name() const { return name_; }
  void setName(const std::string& v) { name_ = v; }
  bool isActiveWithLimitedUserPassword() const { return isActiveWithLimitedUserPassword_; }
  void setIsActiveWithLimitedUserPassword(bool v) { isActiveWithLimitedUserPassword_ = v; }

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

private:
  int32_t denpyouNo_ = 0;
  std::string name_;
  bool isActiveWithLimitedUserPassword_ = false;
};

using BookmarkPtr = std::shared_ptr<Bookmark>;

}  // namespace kivo
