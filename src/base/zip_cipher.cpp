#include "base/zip_cipher.h"

#include <cstring>

#include "base/md5.h"
#include "base/rc4.h"

namespace zip {

namespace {

// Mixed into the key field so that the key field alone does not open the
// package with a plain RC4 tool.
constexpr std::array<std::uint8_t, 16> kKeySalt = {0x4d, 0x41, 0x56, 0x52, 0x45, 0x4e, 0x2e, 0x70,
                                                   0x6b, 0x67, 0x9e, 0x37, 0x79, 0xb9, 0x7f, 0x4a};

}  // namespace

// The key is the MD5 digest of the salt followed by the key field.
CPackageKey derivePackageKey(const CKeyField& keyField) {
  CMd5 md5;
  md5.update(kKeySalt.data(), kKeySalt.size());
  md5.update(keyField.data(), keyField.size());
  return md5.finish();
}

bool decipherContainer(const void* container, std::size_t size, std::vector<std::uint8_t>& body) {
  body.clear();
  if (!container || size <= kRejectedContainerSize) {
    return false;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(container);
  CKeyField keyField;
  std::memcpy(keyField.data(), bytes, keyField.size());
  const CPackageKey key = derivePackageKey(keyField);

  body.assign(bytes + kKeyFieldSize, bytes + size);
  CRc4 cipher(key.data(), key.size());
  cipher.process(body.data(), body.size());
  return true;
}

std::vector<std::uint8_t> encipherContainer(const std::vector<std::uint8_t>& archive, const CKeyField& keyField) {
  std::vector<std::uint8_t> container(keyField.begin(), keyField.end());
  container.insert(container.end(), archive.begin(), archive.end());
  const CPackageKey key = derivePackageKey(keyField);
  CRc4 cipher(key.data(), key.size());
  cipher.process(container.data() + kKeyFieldSize, archive.size());
  return container;
}

}  // namespace zip
