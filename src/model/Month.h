// One month of the term: its display name and its first and last day. A month is
// "partial" when the term's closing day cuts it, and is then named by its range.
#pragma once

#include <string>

#include "model/Date.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class Month {
public:
  Month() = default;
  Month(std::string name, Date startDate, Date endDate)
      : name_(std::move(name)), startDate_(startDate), endDate_(endDate)
  {
  }

  const std::string& name() const { return name_; }
  void setName(const std::string& v) { name_ = v; }
  Date startDate() const { return startDate_; }
  Date endDate() const { return endDate_; }
  void setStartDate(Date v) { startDate_ = v; }
  void setEndDate(Date v) { endDate_ = v; }

  // The name for the range: "%d月" for a whole calendar month, else
  // "%02d/%02d to %02d/%02d".
  static std::string nameForRange(Date startDate, Date endDate);

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

  friend bool operator==(const Month&, const Month&) = default;

private:
  std::string name_;
  Date startDate_;
  Date endDate_;
};

}  // namespace kivo
