#include "model/Month.h"

#include <cstdio>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo {

std::string Month::nameForRange(Date s, Date e)
{
  char buf[64];
  if (s.day() == 1 && s.year() == e.year() && s.month() == e.month() &&
      e.day() == Date::daysInMonth(e.year(), e.month())) {
    std::snprintf(buf, sizeof buf, "%d月", s.month());
  } else {
    std::snprintf(buf, sizeof buf, "%02d/%02d to %02d/%02d", s.month(), s.day(), e.month(), e.day());
  }
  return buf;
}

void Month::encodeWithCoder(ArchiveWriter& coder) const
{
  coder.beginRecord("Month", kClassVersion);
  coder.writeString(name_);
  coder.writeDate(startDate_);
  coder.writeDate(endDate_);
}

bool Month::initWithCoder(ArchiveReader& coder)
{
  if (coder.beginRecord("Month", kClassVersion) < 0) return false;
  name_ = coder.readString();
  startDate_ = coder.readDate();
  endDate_ = coder.readDate();
  return coder.ok();
}

}  // namespace kivo
