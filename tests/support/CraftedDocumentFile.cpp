#include "support/CraftedDocumentFile.h"

#include <stdexcept>

#include "document/DocumentFile.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

namespace kivo::test {

CraftedDocumentFile::CraftedDocumentFile(std::string_view file)
{
  constexpr size_t kHeader = 24;
  if (file.size() < kHeader) throw std::invalid_argument("not a document file");
  for (int i = 3; i >= 0; --i) formatVersion = formatVersion << 8 | static_cast<uint8_t>(file[8 + i]);
  ArchiveReader r(file.substr(kHeader));
  bodyClass_ = r.readString();
  bodyVersion_ = r.readInt32();
  const size_t n = r.readCount(8);
  for (size_t i = 0; i < n && r.ok(); ++i) {
    std::string key = r.readString();
    sections_.emplace_back(std::move(key), r.readBytes());
  }
  if (!r.ok()) throw std::invalid_argument("not a document file: " + r.failure());
}

std::string CraftedDocumentFile::fileWithBody(std::string_view body, uint32_t formatVersion)
{
  std::string out = "KIVOSAVN";
  auto put = [&](uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put(formatVersion, 4);
  put(body.size(), 8);
  put(DocumentFile::checksumOf(std::string_view(out).substr(8, 12), body, formatVersion), 4);
  out.append(body);
  return out;
}

std::string& CraftedDocumentFile::section(std::string_view key)
{
  for (auto& s : sections_)
    if (s.first == key) return s.second;
  throw std::invalid_argument("no section " + std::string(key));
}

bool CraftedDocumentFile::replaceInSection(std::string_view key, std::string_view find, std::string_view replacement)
{
  std::string& bytes = section(key);
  const size_t at = bytes.find(find);
  if (at == std::string::npos) return false;
  bytes.replace(at, find.size(), replacement);
  return true;
}

std::string CraftedDocumentFile::file() const
{
  ArchiveWriter body;
  body.beginRecord(bodyClass_, bodyVersion_);
  body.writeCount(sections_.size());
  for (const auto& s : sections_) {
    body.writeString(s.first);
    body.writeBytes(s.second);
  }
  return fileWithBody(body.data(), formatVersion);
}

}  // namespace kivo::test

#include "support/TestDocuments.h"

namespace kivo::test {

std::string fileWithOpeningBalances(size_t count, bool repeatDivision)
{
  auto doc = makeDocumentWithEveryRecord();
  const KamokuPtr kamoku = doc->codeSortedKamokuArray().front();
  ArchiveWriter before, after;
  kamoku->startBalanceArray().encodeWithCoder(before);
  after.reserve(4 + count * 12);
  after.writeCount(count);
  for (size_t i = 0; i < count; ++i) {
    after.writeInt32(repeatDivision ? 1000 : static_cast<int32_t>(1000 + i));
    after.writeInt64(static_cast<int64_t>(i) + 1);
  }
  CraftedDocumentFile file(DocumentFile::dataOfDocument(*doc));
  if (!file.replaceInSection(KIVODataRootKamokuKubunKey, before.data(), after.data()))
    throw std::logic_error("opening balances not found");
  return file.file();
}

}  // namespace kivo::test
