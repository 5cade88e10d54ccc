#include "net/approach_record.h"

#include <algorithm>

#include "base/md5.h"
#include "base/rc4.h"

namespace {

constexpr std::size_t kDigestSize = 16;
constexpr std::size_t kHeaderSize = 32;  // digest and nonce

void encipherBehindDigest(std::vector<std::uint8_t>& record, const CMachineKey& machineKey) {
  std::array<std::uint8_t, kDigestSize> key{};
  for (std::size_t i = 0; i < kDigestSize; ++i) {
    key[i] = record[i] ^ machineKey[i];
  }
  CRc4(key.data(), key.size()).process(record.data() + kDigestSize, record.size() - kDigestSize);
}

}  // namespace

std::array<std::uint8_t, 16> guidBytes(const CGuid& guid) {
  std::array<std::uint8_t, 16> bytes{};
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<std::uint8_t>(guid.data1 >> (8 * i));
  }
  for (int i = 0; i < 2; ++i) {
    bytes[4 + i] = static_cast<std::uint8_t>(guid.data2 >> (8 * i));
    bytes[6 + i] = static_cast<std::uint8_t>(guid.data3 >> (8 * i));
  }
  std::copy(guid.data4.begin(), guid.data4.end(), bytes.begin() + 8);
  return bytes;
}

CMachineKey machineKeyFromText(std::wstring_view text) {
  const auto guid = parseGuid(text);
  return guid ? guidBytes(*guid) : CMachineKey{};
}

std::vector<std::uint8_t> sealApproach(std::string_view address, const CMachineKey& machineKey,
                                       const CRandomValue& nonce) {
  std::vector<std::uint8_t> record(kHeaderSize + address.size());
  std::copy(nonce.begin(), nonce.end(), record.begin() + kDigestSize);
  std::copy(address.begin(), address.end(), record.begin() + kHeaderSize);
  const CMd5Digest digest = md5Digest(record.data() + kDigestSize, record.size() - kDigestSize);
  std::copy(digest.begin(), digest.end(), record.begin());
  encipherBehindDigest(record, machineKey);
  return record;
}

std::optional<std::string> openApproach(std::span<const std::uint8_t> record, const CMachineKey& machineKey) {
  if (record.size() < kHeaderSize) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> plain(record.begin(), record.end());
  encipherBehindDigest(plain, machineKey);
  const CMd5Digest digest = md5Digest(plain.data() + kDigestSize, plain.size() - kDigestSize);
  if (!std::equal(digest.begin(), digest.end(), plain.begin())) {
    return std::nullopt;
  }
  return std::string(plain.begin() + kHeaderSize, plain.end());
}
