// A named group of description texts. The group "その他" always exists and holds
// whatever belongs to no other group.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/Tekiyou.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class TekiyouGroup {
public:
  static constexpr const char* kOthersGroupName = "その他";

  TekiyouGroup() = default;
  explicit TekiyouGroup(std::string name, bool isOthersGroup = false)
      : name_(std::move(name)), isOthersGroup_(isOthersGroup)
  {
  }

  const std::string& name() const { return name_; }
  void setName(const std::string& v) { name_ = v; }
  bool isOthersGroup() const { return isOthersGroup_; }
  std::vector<TekiyouPtr>& tekiyouArray() { return tekiyouArray_; }
  const std::vector<TekiyouPtr>& tekiyouArray() const { return tekiyouArray_; }

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

private:
  std::string name_;
  bool isOthersGroup_ = false;
  std::vector<TekiyouPtr> tekiyouArray_;
};

using TekiyouGroupPtr = std::shared_ptr<TekiyouGroup>;

}  // namespace kivo
