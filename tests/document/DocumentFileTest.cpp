#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/DocumentFile.h"
#include "model/ArchiveWriter.h"
#include "support/TestDocuments.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

class DocumentFileTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    dir_ = fs::temp_directory_path() / ("kivo-docfile-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string readAll(const fs::path& p)
  {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  size_t filesInDir() const
  {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

TEST_F(DocumentFileTest, EveryRecordKindSavesAndReopensToTheSameBytes)
{
  auto doc = test::makeDocumentWithEveryRecord();
  const std::string path = (dir_ / "books.kivo").string();
  ASSERT_TRUE(DocumentFile::writeToFile(*doc, path).ok());

  DocumentFile::Result result;
  auto reopened = DocumentFile::readFromFile(path, &result);
  ASSERT_TRUE(reopened) << result.detail;
  EXPECT_EQ(DocumentFile::dataOfDocument(*reopened), readAll(path));

  // Spot-check what a bookkeeper would notice first.
  EXPECT_EQ(reopened->kaisya(), doc->kaisya());
  EXPECT_EQ(reopened->journal().size(), doc->journal().size());
  auto stored = [](const Shiwake& s) {
    ArchiveWriter w;
    s.encodeWithCoder(w);
    return w.data();
  };
  for (size_t i = 0; i < doc->journal().size(); ++i)
    EXPECT_EQ(stored(*reopened->journal()[i]), stored(*doc->journal()[i])) << "entry " << i;
  const KamokuPtr kamoku = reopened->codeSortedKamokuArray().front();
  EXPECT_EQ(kamoku->startBalanceOfJigyoubuCode(99), 1500000);
  EXPECT_EQ(kamoku->startBalanceOfJigyoubuCode(2), -20000);
  EXPECT_EQ(kamoku->hojyoKamokuArray().front()->startBalanceOfJigyoubuCode(99), 12345);
  EXPECT_FALSE(reopened->codeSortedKamokuArray()[5]->isActive());
  EXPECT_EQ(reopened->jigyoubuArray().size(), 3u);
  EXPECT_EQ(reopened->furikaedenpyouBookmarkArray().front()->name(), "月末の振替");
  EXPECT_EQ(reopened->hendouReasonArray()[1]->reasonString(), "剰余金の配当");
  EXPECT_EQ(reopened->subMenuItemArray().front()->representedObject(), 2100);
  EXPECT_EQ(reopened->tekiyouGroupArray().size(), 2u);
  EXPECT_EQ(reopened->kaisya().noteOfKaisyahouHoukokusyo().size(), 16u);
}

TEST_F(DocumentFileTest, AssetSectionWrittenByALaterProgramPartIsKeptAsItIs)
{
  auto doc = test::makeDocumentWithEveryRecord();
  ArchiveWriter assets;
  assets.writeCount(1);
  assets.writeString("GenkasyoukyakuShisan");
  doc->setGenkasyoukyakuShisanArrayData(assets.data());
  DocumentFile::Result result;
  auto reopened = DocumentFile::documentFromData(DocumentFile::dataOfDocument(*doc), &result);
  ASSERT_TRUE(reopened);
  EXPECT_EQ(reopened->genkasyoukyakuShisanArrayData(), assets.data());
}

TEST_F(DocumentFileTest, FailedSaveAtAnyPointLeavesThePreviousFileWhole)
{
  const std::string path = (dir_ / "books.kivo").string();
  auto original = test::makeDocumentWithEveryRecord();
  ASSERT_TRUE(DocumentFile::writeToFile(*original, path).ok());
  const std::string before = readAll(path);

  auto changed = test::makeDocumentWithEveryRecord();
  changed->kaisya().setName("変更後の会社");
  const int64_t size = static_cast<int64_t>(DocumentFile::dataOfDocument(*changed).size());
  std::vector<DocumentFile::WriteFault> faults;
  for (int64_t at = 0; at < size; at += std::max<int64_t>(1, size / 97)) faults.push_back({at, false, false});
  faults.push_back({size - 1, false, false});
  faults.push_back({-1, true, false});
  faults.push_back({-1, false, true});
  for (const DocumentFile::WriteFault& fault : faults) {
    const DocumentFile::Result r = DocumentFile::writeToFile(*changed, path, &fault);
    EXPECT_EQ(r.status, DocumentFile::Status::WriteFailed) << "fault after " << fault.failAfterBytes;
    EXPECT_FALSE(r.message.empty());
    ASSERT_EQ(readAll(path), before) << "fault after " << fault.failAfterBytes;
    EXPECT_EQ(filesInDir(), 1u) << "a temporary file was left behind";
  }
  ASSERT_TRUE(DocumentFile::writeToFile(*changed, path).ok());
  DocumentFile::Result result;
  EXPECT_EQ(DocumentFile::readFromFile(path, &result)->kaisya().name(), "変更後の会社");
}

TEST_F(DocumentFileTest, SaveIntoAMissingFolderFailsWithAMessage)
{
  auto doc = test::makeDocumentWithEveryRecord();
  const DocumentFile::Result r = DocumentFile::writeToFile(*doc, (dir_ / "no-such-folder" / "b.kivo").string());
  EXPECT_EQ(r.status, DocumentFile::Status::WriteFailed);
  EXPECT_FALSE(r.message.empty());
}

TEST_F(DocumentFileTest, EveryTruncationIsRefusedAsDamaged)
{
  const std::string data = DocumentFile::dataOfDocument(*test::makeDocumentWithEveryRecord());
  for (size_t len = 0; len < data.size(); ++len) {
    DocumentFile::Result r;
    auto doc = DocumentFile::documentFromData(std::string_view(data).substr(0, len), &r);
    ASSERT_FALSE(doc) << "length " << len;
    // Too short to hold the signature: not ours; otherwise damaged.
    EXPECT_EQ(r.status, len < 8 ? DocumentFile::Status::NotOurs : DocumentFile::Status::Damaged) << len;
    EXPECT_FALSE(r.message.empty());
  }
}

TEST_F(DocumentFileTest, CorruptedBytesAnywhereAreRefused)
{
  const std::string data = DocumentFile::dataOfDocument(*test::makeDocumentWithEveryRecord());
  for (size_t at = 0; at < data.size(); ++at) {
    std::string bad = data;
    bad[at] = static_cast<char>(bad[at] ^ 0x5A);
    DocumentFile::Result r;
    auto doc = DocumentFile::documentFromData(bad, &r);
    ASSERT_FALSE(doc) << "byte " << at;
    EXPECT_NE(r.status, DocumentFile::Status::Ok);
    EXPECT_FALSE(r.message.empty());
  }
}

TEST_F(DocumentFileTest, RefusalsNameTheirReason)
{
  const std::string data = DocumentFile::dataOfDocument(*test::makeDocumentWithEveryRecord());
  struct Case {
    std::string bytes;
    DocumentFile::Status status;
  };
  std::string newer = data;
  newer[8] = 2;  // format version 2
  const Case cases[] = {
      {"", DocumentFile::Status::NotOurs},
      {"<?xml version=\"1.0\"?><plist/>", DocumentFile::Status::NotOurs},
      {newer, DocumentFile::Status::NewerVersion},
      {data + "x", DocumentFile::Status::Damaged},
  };
  for (const Case& c : cases) {
    DocumentFile::Result r;
    EXPECT_FALSE(DocumentFile::documentFromData(c.bytes, &r));
    EXPECT_EQ(r.status, c.status) << r.detail;
  }
  DocumentFile::Result r;
  EXPECT_FALSE(DocumentFile::readFromFile((dir_ / "missing.kivo").string(), &r));
  EXPECT_EQ(r.status, DocumentFile::Status::ReadFailed);
}

TEST_F(DocumentFileTest, ARecordOfANewerClassVersionIsRefusedAsNewer)
{
  // A body that claims a newer document record: the program must not guess at it.
  ArchiveWriter body;
  body.beginRecord("MyDocument", 7);
  std::string file = "KIVOSAVN";
  auto put = [&](uint64_t v, int n) {
    for (int i = 0; i < n; ++i) file.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put(1, 4);
  put(body.data().size(), 8);
  put(DocumentFile::crc32(body.data()), 4);
  file += body.data();
  DocumentFile::Result r;
  EXPECT_FALSE(DocumentFile::documentFromData(file, &r));
  EXPECT_EQ(r.status, DocumentFile::Status::NewerVersion);
}

TEST(DocumentFileChecksum, MatchesTheStandardCrc32)
{
  EXPECT_EQ(DocumentFile::crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(DocumentFile::crc32(""), 0u);
}

}  // namespace
}  // namespace kivo
