#include "base/rc4.h"

#include "app/exception.h"

#include <utility>

CRc4::CRc4(const void* key, std::size_t keySize) {
  if (keySize == 0 || keySize > state_.size()) {
    throw XExceptionGeneral(L"RC4 key length must be 1 to 256 bytes");
  }
  const auto* keyBytes = static_cast<const std::uint8_t*>(key);
  for (std::size_t n = 0; n < state_.size(); ++n) {
    state_[n] = static_cast<std::uint8_t>(n);
  }
  std::uint8_t j = 0;
  for (std::size_t n = 0; n < state_.size(); ++n) {
    j = static_cast<std::uint8_t>(j + state_[n] + keyBytes[n % keySize]);
    std::swap(state_[n], state_[j]);
  }
}

void CRc4::process(void* data, std::size_t size) {
  auto* bytes = static_cast<std::uint8_t*>(data);
  for (std::size_t n = 0; n < size; ++n) {
    i_ = static_cast<std::uint8_t>(i_ + 1);
    j_ = static_cast<std::uint8_t>(j_ + state_[i_]);
    std::swap(state_[i_], state_[j_]);
    bytes[n] ^= state_[static_cast<std::uint8_t>(state_[i_] + state_[j_])];
  }
}
