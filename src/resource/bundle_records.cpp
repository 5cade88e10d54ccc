#include "resource/bundle_records.h"

#include <cstring>
#include <limits>

#include "app/exception.h"

namespace {

std::uint32_t readSize(const std::uint8_t* header) {
  std::uint32_t size = 0;
  for (int n = 3; n >= 0; --n) {
    size = (size << 8) | header[kBundleSizeOffset + n];
  }
  return size;
}

std::u16string readName(const std::uint8_t* header) {
  std::u16string name;
  for (std::size_t n = 0; n < kBundleNameUnits; ++n) {
    const std::uint8_t* unit = header + kBundleNameOffset + 2 * n;
    const char16_t c = static_cast<char16_t>(unit[0] | (unit[1] << 8));
    if (c == 0) {
      break;
    }
    name.push_back(c);
  }
  return name;
}

}  // namespace

void walkBundleRecords(const void* block, std::size_t size, const std::function<void(const CBundleRecord&)>& visit) {
  const auto* bytes = static_cast<const std::uint8_t*>(block);
  std::size_t offset = 0;
  while (size - offset >= kBundleRecordHeader) {
    const std::uint8_t* header = bytes + offset;
    const std::uint32_t fileSize = readSize(header);
    if (fileSize > size - offset - kBundleRecordHeader) {
      return;
    }
    visit(CBundleRecord{readName(header), header + kBundleRecordHeader, fileSize});
    offset += kBundleRecordHeader + fileSize;
  }
}

void appendBundleRecord(std::vector<std::uint8_t>& block, std::u16string_view name, const void* data,
                        std::size_t size) {
  if (name.empty() || name.size() >= kBundleNameUnits) {
    throw XExceptionArgument(L"A bundle file name must have 1 to 259 characters");
  }
  if (name.find(u'\0') != std::u16string_view::npos) {
    throw XExceptionArgument(L"A bundle file name must not contain a zero character");
  }
  if (size > std::numeric_limits<std::uint32_t>::max()) {
    throw XExceptionArgument(L"A bundle file must be smaller than 4 GiB");
  }
  const std::size_t start = block.size();
  block.resize(start + kBundleRecordHeader + size, 0);
  std::uint8_t* header = block.data() + start;
  for (int n = 0; n < 4; ++n) {
    header[kBundleSizeOffset + n] = static_cast<std::uint8_t>(size >> (8 * n));
  }
  for (std::size_t n = 0; n < name.size(); ++n) {
    header[kBundleNameOffset + 2 * n] = static_cast<std::uint8_t>(name[n]);
    header[kBundleNameOffset + 2 * n + 1] = static_cast<std::uint8_t>(name[n] >> 8);
  }
  if (size != 0) {
    std::memcpy(header + kBundleRecordHeader, data, size);
  }
}

std::vector<std::uint8_t> makeBundleBlock(const std::vector<std::pair<std::string, std::string>>& files) {
  std::vector<std::uint8_t> block;
  for (const auto& [name, bytes] : files) {
    std::u16string wide;
    for (const char c : name) {
      wide.push_back(static_cast<unsigned char>(c));
    }
    appendBundleRecord(block, wide, bytes.data(), bytes.size());
  }
  return block;
}
