// A reason for a change in net assets, with the journal entries assigned to it. Only
// the reason's text is stored; the entries are found again from their
// hendouReasonStr whenever the list is rebuilt.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/Shiwake.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class HendouReason {
public:
  HendouReason() = default;
  explicit HendouReason(std::string reasonString) : reasonString_(std::move(reasonString)) {}

  const std::string& reasonString() const { return reasonString_; }
  void setReasonString(const std::string& v) { reasonString_ = v; }
  std::vector<ShiwakePtr>& shiwakeArray() { return shiwakeArray_; }
  const std::vector<ShiwakePtr>& shiwakeArray() const { return shiwakeArray_; }

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

private:
  std::string reasonString_;
  std::vector<ShiwakePtr> shiwakeArray_;
};

using HendouReasonPtr = std::shared_ptr<HendouReason>;

}  // namespace kivo
