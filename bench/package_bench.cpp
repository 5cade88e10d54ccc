// The package benchmark: deciphers a package file and verifies it (inflates
// every entry once without writing), as the start-up and the wizard's
// verification step do, and inflates the same entries with plain zlib
// straight from memory as the reference for what inflating can cost at best.
// Prints MB/s for each pass and the process's peak memory around the opening.
//
//   package_bench.exe PACKAGE_FILE
#include <windows.h>
#include <psapi.h>

#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "base/zip_archive.h"
#include "base/zip_cipher.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double megabytes(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// Committed private memory, now and at its peak.
struct CMemory {
  std::uint64_t committed = 0;
  std::uint64_t peakCommitted = 0;
};

CMemory processMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return {counters.PagefileUsage, counters.PeakPagefileUsage};
}

void printMemory(const char* moment, const CMemory& memory) {
  std::printf("  %-44s committed %8.1f MB, peak %8.1f MB\n", moment, megabytes(memory.committed),
              megabytes(memory.peakCommitted));
}

std::uint32_t read32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

struct CTotals {
  std::uint64_t entries = 0;
  std::uint64_t uncompressed = 0;
  bool intact = true;
};

// Every entry of the archive through the setup's reader, into no sink.
CTotals verifyThroughReader(zip::CZIPFileBase& archive) {
  CTotals totals;
  for (int step = archive.firstEntry(); step == zip::kOk; step = archive.nextEntry()) {
    zip::CEntryInfo info;
    if (!archive.currentEntry(info)) {
      break;
    }
    totals.intact = archive.extractCurrent(static_cast<IStream*>(nullptr), nullptr, nullptr) && totals.intact;
    totals.uncompressed += info.size;
    ++totals.entries;
  }
  return totals;
}

// The same with zlib alone: the central directory read from memory, each
// entry inflated (or, when stored, summed) in pieces of `pieceSize` with its
// CRC-32.
CTotals verifyWithPlainZlib(const std::vector<std::uint8_t>& zip, std::size_t pieceSize) {
  CTotals totals;
  const std::uint8_t* end = zip.data() + zip.size() - 22;
  if (read32(end) != 0x06054b50) {
    totals.intact = false;
    return totals;
  }
  const std::uint16_t count = read16(end + 10);
  const std::uint8_t* central = zip.data() + read32(end + 16);
  std::vector<std::uint8_t> out(pieceSize);
  for (std::uint16_t n = 0; n < count; ++n) {
    const std::uint16_t method = read16(central + 10);
    const std::uint32_t crc = read32(central + 16);
    const std::uint32_t packed = read32(central + 20);
    const std::uint32_t size = read32(central + 24);
    const std::uint8_t* local = zip.data() + read32(central + 42);
    const std::uint8_t* data = local + 30 + read16(local + 26) + read16(local + 28);
    central += 46 + read16(central + 28) + read16(central + 30) + read16(central + 32);

    uLong sum = crc32(0L, Z_NULL, 0);
    if (method == 0) {
      sum = crc32(sum, data, packed);
    } else {
      z_stream stream{};
      inflateInit2(&stream, -MAX_WBITS);
      stream.next_in = const_cast<Bytef*>(data);
      stream.avail_in = packed;
      int result = Z_OK;
      while (result == Z_OK) {
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        result = inflate(&stream, Z_NO_FLUSH);
        sum = crc32(sum, out.data(), static_cast<uInt>(out.size() - stream.avail_out));
      }
      totals.intact = totals.intact && result == Z_STREAM_END && stream.total_out == size;
      inflateEnd(&stream);
    }
    totals.intact = totals.intact && sum == crc;
    totals.uncompressed += size;
    ++totals.entries;
  }
  return totals;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: package_bench.exe PACKAGE_FILE\n");
    return 2;
  }
  printMemory("at start", processMemory());

  // The file stands in for the resource, which setup.exe finds mapped in its
  // image; it is dropped once deciphered, as the image's pages can be.
  std::vector<std::uint8_t> container;
  {
    std::ifstream file(argv[1], std::ios::binary);
    container.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  if (container.size() <= zip::kRejectedContainerSize) {
    std::fprintf(stderr, "package_bench: cannot read the package\n");
    return 1;
  }
  std::printf("package: %.1f MB\n", megabytes(container.size()));

  std::vector<std::uint8_t> package;
  const auto decipherStart = Clock::now();
  zip::decipherContainer(container.data(), container.size(), package);
  const double decipherSeconds = secondsSince(decipherStart);
  printMemory("resource copy and deciphered package", processMemory());
  std::vector<std::uint8_t>().swap(container);

  const auto openStart = Clock::now();
  TRefPtr<zip::CZIPFile> archive = zip::openArchive(package.data(), package.size());
  const double openSeconds = secondsSince(openStart);
  if (!archive) {
    std::fprintf(stderr, "package_bench: the package does not open\n");
    return 1;
  }
  printMemory("package and the archive's memory stream", processMemory());

  const auto readerStart = Clock::now();
  const CTotals reader = verifyThroughReader(*archive);
  const double readerSeconds = secondsSince(readerStart);
  const auto zlibStart = Clock::now();
  const CTotals plain = verifyWithPlainZlib(package, 65536);
  const double zlibSeconds = secondsSince(zlibStart);
  const auto piecesStart = Clock::now();
  const CTotals pieces = verifyWithPlainZlib(package, zip::kPieceSize);
  const double piecesSeconds = secondsSince(piecesStart);
  printMemory("after both inflate passes", processMemory());

  std::printf("RC4 decipher (copy and keystream): %8.1f MB/s  (%.1f MB in %.3f s)\n",
              megabytes(package.size()) / decipherSeconds, megabytes(package.size()), decipherSeconds);
  std::printf("opening the archive (memory stream copy and directory): %.3f s\n", openSeconds);
  std::printf("inflate through the reader over the memory stream: %8.1f MB/s out, %8.1f MB/s in  "
              "(%llu entries, %.1f MB in %.3f s)%s\n",
              megabytes(reader.uncompressed) / readerSeconds, megabytes(package.size()) / readerSeconds,
              static_cast<unsigned long long>(reader.entries), megabytes(reader.uncompressed), readerSeconds,
              reader.intact ? "" : "  DAMAGED");
  std::printf("inflate with plain zlib from memory, 64 KiB out:  %8.1f MB/s out, %8.1f MB/s in  "
              "(%llu entries, %.1f MB in %.3f s)%s\n",
              megabytes(plain.uncompressed) / zlibSeconds, megabytes(package.size()) / zlibSeconds,
              static_cast<unsigned long long>(plain.entries), megabytes(plain.uncompressed), zlibSeconds,
              plain.intact ? "" : "  DAMAGED");
  std::printf("inflate with plain zlib from memory, 4 KiB out:   %8.1f MB/s out, %8.1f MB/s in%s\n",
              megabytes(pieces.uncompressed) / piecesSeconds, megabytes(package.size()) / piecesSeconds,
              pieces.intact ? "" : "  DAMAGED");
  return reader.intact && plain.intact && pieces.intact && reader.uncompressed == plain.uncompressed ? 0 : 1;
}
