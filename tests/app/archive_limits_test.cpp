// Archives that would unpack to far more than a data set: zip bombs with honest and with
// forged sizes, and entries larger than memory should hold. The archives are put
// together byte by byte here, so their declared sizes can say anything.
#include <sys/resource.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/archive.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

constexpr std::uint64_t kMiB = 1u << 20;

// Raw deflate data with its true size and checksum.
struct Deflated {
  std::string bytes;
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
};

std::string Deflate(const std::string& input, int flush) {
  static z_stream stream;
  static bool open = false;
  if (!open) {
    stream = z_stream();
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    open = true;
  }
  std::string out(input.size() + 1024, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  stream.avail_in = static_cast<uInt>(input.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, flush);
  out.resize(out.size() - stream.avail_out);
  if (flush == Z_FINISH) {
    deflateEnd(&stream);
    open = false;
  }
  return out;
}

// `mib` MiB of zeros, deflated without deflating them all: after a full flush the
// compressor starts afresh, so every further megabyte deflates to the same bytes.
Deflated Zeros(std::uint64_t mib) {
  const std::string megabyte(kMiB, '\0');
  const std::string piece = Deflate(megabyte, Z_FULL_FLUSH);
  const std::string end = Deflate("", Z_FINISH);
  const uLong pieceCrc = crc32(0, reinterpret_cast<const Bytef*>(megabyte.data()), kMiB);
  Deflated zeros;
  zeros.bytes.reserve(piece.size() * mib + end.size());
  uLong crc = 0;
  for (std::uint64_t i = 0; i < mib; ++i) {
    zeros.bytes += piece;
    crc = crc32_combine(crc, pieceCrc, kMiB);
  }
  zeros.bytes += end;
  zeros.size = mib * kMiB;
  zeros.crc = static_cast<std::uint32_t>(crc);
  return zeros;
}

Deflated Bytes(const std::string& text) {
  Deflated data;
  data.bytes = Deflate(text, Z_FINISH);
  data.size = text.size();
  data.crc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(text.data()), text.size()));
  return data;
}

// A zip archive written field by field (no zip64: sizes below 4 GiB).
class HandMadeZip {
 public:
  // declaredSize is what the headers say, whatever the data inflates to.
  void Add(const std::string& name, const Deflated& data, std::uint64_t declaredSize) {
    const std::uint32_t offset = static_cast<std::uint32_t>(body_.size());
    Header(body_, 0x04034b50u, name, data, declaredSize, false, 0);
    body_ += data.bytes;
    Header(directory_, 0x02014b50u, name, data, declaredSize, true, offset);
    ++count_;
  }
  void Add(const std::string& name, const Deflated& data) { Add(name, data, data.size); }

  std::string Bytes() const {
    std::string end;
    Put(end, 0x06054b50u, 4);
    Put(end, 0, 2);
    Put(end, 0, 2);
    Put(end, count_, 2);
    Put(end, count_, 2);
    Put(end, directory_.size(), 4);
    Put(end, body_.size(), 4);
    Put(end, 0, 2);
    return body_ + directory_ + end;
  }

 private:
  static void Put(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
  }
  static void Header(std::string& out, std::uint32_t signature, const std::string& name, const Deflated& data,
                     std::uint64_t declaredSize, bool central, std::uint32_t offset) {
    Put(out, signature, 4);
    if (central) Put(out, 20, 2);  // made by
    Put(out, 20, 2);               // needed
    Put(out, 0, 2);                // flags
    Put(out, 8, 2);                // deflate
    Put(out, 0, 2);                // time
    Put(out, 0x21, 2);             // date: 1980-01-01
    Put(out, data.crc, 4);
    Put(out, data.bytes.size(), 4);
    Put(out, declaredSize, 4);
    Put(out, name.size(), 2);
    Put(out, 0, 2);  // extra
    if (central) {
      Put(out, 0, 2);  // comment
      Put(out, 0, 2);  // disk
      Put(out, 0, 2);  // internal attributes
      Put(out, 0, 4);  // external attributes
      Put(out, offset, 4);
    }
    out += name;
  }

  std::string body_;
  std::string directory_;
  std::uint64_t count_ = 0;
};

// The process's peak memory so far.
std::uint64_t PeakMemoryBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
}

// How much the process's peak memory grew since `peakBefore`, printed as a figure
// beside the test's result.
std::uint64_t PeakGrowth(std::uint64_t peakBefore, const char* what) {
  const std::uint64_t growth = PeakMemoryBytes() - peakBefore;
  std::printf("peak memory grew by %.1f MiB while %s\n", static_cast<double>(growth) / kMiB, what);
  return growth;
}

class ArchiveLimits : public ::testing::Test {
 protected:
  bool Unpack(const HandMadeZip& zip, const UnpackLimits& limits = UnpackLimits()) {
    WriteFile(archive_, zip.Bytes());
    messages_.clear();
    return UnpackArchive(archive_, data_, messages_, limits);
  }
  std::string Messages() const {
    std::string all;
    for (const std::string& m : messages_) all += m + "\n";
    return all;
  }
  // Files under the data folder, relative to it.
  std::vector<std::string> Files() const {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(data_)) {
      if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), data_).string());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  TempDir work_;
  std::string archive_ = work_.File("demodat");
  std::string data_ = work_.File("data/");
  std::vector<std::string> messages_;
};

TEST_F(ArchiveLimits, AnEntryFarLargerThanAnyDataFileIsRefusedWithoutInflatingIt) {
  HandMadeZip zip;
  zip.Add("before.txt", Bytes("before"));
  zip.Add("music/bomb.mp3", Zeros(3 * 1024));  // 3 GiB of zeros in about 3 MB
  zip.Add("after.txt", Bytes("after"));
  const std::uint64_t peakBefore = PeakMemoryBytes();

  EXPECT_FALSE(Unpack(zip));
  ASSERT_EQ(messages_.size(), 1u) << Messages();
  EXPECT_EQ(messages_[0],
            "refused archive entry music/bomb.mp3: it would inflate to 3221225472 bytes, far more than any data "
            "file (at most 536870912)");
  EXPECT_EQ(Files(), (std::vector<std::string>{"after.txt", "before.txt"}));
  EXPECT_LT(PeakGrowth(peakBefore, "refusing an entry of 3 GiB"), 64 * kMiB);
}

TEST_F(ArchiveLimits, EntriesBeyondTheArchivesTotalAreRefused) {
  HandMadeZip zip;
  for (const char* name : {"a.bin", "b.bin", "c.bin", "d.txt"}) zip.Add(name, Zeros(1));
  UnpackLimits limits;
  limits.maxEntryBytes = 2 * kMiB;
  limits.maxTotalBytes = 3 * kMiB;

  EXPECT_FALSE(Unpack(zip, limits));
  ASSERT_EQ(messages_.size(), 1u) << Messages();
  EXPECT_EQ(messages_[0], "refused archive entry d.txt: the archive would inflate to more than 3145728 bytes");
  EXPECT_EQ(Files(), (std::vector<std::string>{"a.bin", "b.bin", "c.bin"}));
  EXPECT_EQ(fs::file_size(data_ + "c.bin"), kMiB);
}

TEST_F(ArchiveLimits, AnEntryThatInflatesToMoreThanItDeclaresLeavesNothing) {
  HandMadeZip zip;
  zip.Add("textures/forged.png", Zeros(256), 4096);  // says 4 KiB, holds 256 MiB
  zip.Add("textures/real.png", Bytes("real"));
  const std::uint64_t peakBefore = PeakMemoryBytes();

  EXPECT_FALSE(Unpack(zip));
  ASSERT_EQ(messages_.size(), 1u) << Messages();
  EXPECT_EQ(messages_[0].rfind("couldn't unpack textures/forged.png: ", 0), 0u) << messages_[0];
  EXPECT_EQ(Files(), (std::vector<std::string>{"textures/real.png"})) << "no partial or temporary file";
  EXPECT_LT(PeakGrowth(peakBefore, "stopping an entry of 4 KiB that inflates to 256 MiB"), 64 * kMiB);
}

TEST_F(ArchiveLimits, ALargeEntryGoesToDiskPieceByPiece) {
  HandMadeZip zip;
  zip.Add("models/huge.geo", Zeros(200));
  const std::uint64_t peakBefore = PeakMemoryBytes();

  EXPECT_TRUE(Unpack(zip)) << Messages();
  EXPECT_EQ(Files(), (std::vector<std::string>{"models/huge.geo"}));
  EXPECT_EQ(fs::file_size(data_ + "models/huge.geo"), 200 * kMiB);
  // The entry took a piece of memory, not its size.
  EXPECT_LT(PeakGrowth(peakBefore, "unpacking an entry of 200 MiB"), 64 * kMiB);
}

}  // namespace
