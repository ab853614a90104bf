#include "support/CraftedDocumentFile.h"

#include <cstring>
#include <functional>
#include <stdexcept>

#include "document/DocumentFile.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "support/TestDocuments.h"

namespace kivo::test {
namespace {

// The file again, each section replaced by what `edit` makes of it.
std::string editSections(std::string_view file, const std::function<std::string(std::string_view, std::string)>& edit)
{
  ArchiveReader r(file.substr(DocumentFile::kHeaderSize));
  ArchiveWriter body;
  body.writeString(r.readString());  // the body record's class and version
  body.writeInt32(r.readInt32());
  const size_t n = r.readCount(8);
  body.writeCount(n);
  for (size_t i = 0; i < n; ++i) {
    const std::string key = r.readString();
    body.writeString(key);
    body.writeBytes(edit(key, r.readBytes()));
  }
  if (!r.ok()) throw std::invalid_argument("not a document file: " + r.failure());
  uint32_t version;
  std::memcpy(&version, file.data() + 8, 4);
  return fileWithBody(body.data(), version);
}

}  // namespace

std::string fileWithBody(std::string_view body, uint32_t formatVersion)
{
  std::string out = "KIVOSAVN";
  auto put = [&](uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put(formatVersion, 4);
  put(body.size(), 8);
  put(DocumentFile::checksumOf(std::string_view(out).substr(8, 12), body, formatVersion), 4);
  return out.append(body);
}

std::string fileWithSection(std::string_view file, std::string_view key, std::string_view bytes)
{
  return editSections(file, [&](std::string_view k, std::string b) { return k == key ? std::string(bytes) : b; });
}

std::string fileWithOpeningBalances(size_t count, bool repeatDivision)
{
  constexpr int32_t kCodes = 99;
  GeneratedBooksSize size;
  size.shiwakeCount = 40;
  size.jigyoubuCount = 3;
  size.hojyoKamokuCount = 0;
  size.kamokuCount = repeatDivision ? 1 : static_cast<int>(count / (kCodes * (kCodes + 1)) + 1);
  auto doc = makeGeneratedBooks(size);
  if (repeatDivision) {
    ArchiveWriter before, after;
    const KamokuPtr& first = doc->codeSortedKamokuArray().front();
    first->setStartBalance(1, 0);
    first->startBalanceArray().encodeWithCoder(before);
    after.writeCount(count);
    for (size_t i = 0; i < count; ++i) {
      after.writeInt32(0);
      after.writeInt64(static_cast<int64_t>(i) + 1);
    }
    return editSections(DocumentFile::dataOfDocument(*doc), [&](std::string_view key, std::string bytes) {
      if (key == KIVODataRootKamokuKubunKey) bytes.replace(bytes.find(before.data()), before.size(), after.data());
      return bytes;
    });
  }
  size_t made = 0;
  auto fill = [&](StartBalanceList& list) {
    for (int32_t division = 0; division < kCodes && made < count; ++division)
      list.setBalance(static_cast<int64_t>(++made), division);
  };
  for (const KamokuPtr& k : doc->codeSortedKamokuArray()) {
    k->setType(Kamoku::kTypeF);  // carried forward as they stand
    fill(k->startBalanceArray());
    for (int32_t code = 0; code < kCodes; ++code) {
      auto h = std::make_shared<HojyoKamoku>();
      h->setCode(code);
      h->setName("補助" + std::to_string(code));
      h->setParentKamokuCode(k->code());
      fill(h->startBalanceArray());
      k->hojyoKamokuArray().push_back(std::move(h));
    }
  }
  return DocumentFile::dataOfDocument(*doc);
}

}  // namespace kivo::test
