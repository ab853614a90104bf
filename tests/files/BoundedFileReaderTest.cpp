#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "files/BoundedFileReader.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using Status = BoundedFileReader::Status;

TEST(BoundedFileReaderTest, ReadsARegularFileUpToTheCapAndNothingElseWithoutWaiting)
{
  const fs::path dir = fs::temp_directory_path() / ("kivo-bounded-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "folder");
  std::ofstream(dir / "small.txt", std::ios::binary) << "1111\t";
  std::ofstream(dir / "at-cap.txt", std::ios::binary) << std::string(64, 'x');
  std::ofstream(dir / "over-cap.txt", std::ios::binary) << std::string(65, 'x');
  std::ofstream(dir / "empty.txt", std::ios::binary);
  fs::create_symlink("/dev/zero", dir / "zero.txt");
  ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
  // A file, its size in bytes or why it is not read.
  const std::tuple<const char*, Status, size_t> cases[] = {
      {"small.txt", Status::Read, 5},          {"at-cap.txt", Status::Read, 64},
      {"empty.txt", Status::Read, 0},          {"over-cap.txt", Status::TooLarge, 0},
      {"zero.txt", Status::NotRegularFile, 0}, {"pipe.txt", Status::NotRegularFile, 0},
      {"folder", Status::NotRegularFile, 0},   {"missing.txt", Status::Failed, 0},
  };
  for (const auto& [name, status, size] : cases) {
    const auto start = std::chrono::steady_clock::now();
    std::string data = "left over";
    const BoundedFileReader::Result r = BoundedFileReader::read((dir / name).string(), 64, &data);
    EXPECT_EQ(std::tuple(r.status, data.size()), std::tuple(status, size)) << name;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0) << name;
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kivo
