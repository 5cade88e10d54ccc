#include "base/stream_out.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/utf8.h"

void XStreamOut::put(const void* bytes, std::size_t count) {
  if (count <= kBufferSize - bufferCount_ - 1) {
    std::memcpy(buffer_.data() + bufferCount_, bytes, count);
    bufferCount_ += count;
    return;
  }
  const auto* from = static_cast<const std::uint8_t*>(bytes);
  while (count > 0) {
    const std::size_t piece = std::min<std::size_t>(count, kBufferSize - bufferCount_);
    std::memcpy(buffer_.data() + bufferCount_, from, piece);
    bufferCount_ += piece;
    from += piece;
    count -= piece;
    if (bufferCount_ == kBufferSize) {
      flush();
    }
  }
}

// Unit by unit straight into the buffer: the writer puts many short pieces.
void XStreamOut::putText(std::wstring_view text) {
  for (const wchar_t c : text) {
    const char16_t unit = static_cast<char16_t>(c);
    put(&unit, sizeof unit);
  }
}

// In text mode a flush that would split a surrogate pair (or a code unit)
// keeps its first half for the next flush, so that the pair is converted
// whole instead of becoming two replacement characters.  The final flush
// converts whatever is left.
std::size_t XStreamOut::bytesToKeep() const noexcept {
  if (textMode_ != 1 || bufferCount_ < kBufferSize) {
    return 0;
  }
  char16_t last;
  std::memcpy(&last, buffer_.data() + kBufferSize - sizeof last, sizeof last);
  return last >= 0xD800 && last <= 0xDBFF ? sizeof last : 0;
}

void XStreamOut::flush() {
  if (bufferCount_ == 0) {
    return;
  }
  const std::size_t keep = bytesToKeep();
  const std::size_t handOn = bufferCount_ - keep;
  bool written;
  if (textMode_ == 1) {
    std::wstring text(handOn / sizeof(char16_t), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
      char16_t unit;
      std::memcpy(&unit, buffer_.data() + i * sizeof unit, sizeof unit);
      text[i] = unit;
    }
    const std::string utf8 = toUtf8(text);
    written = utf8.empty() || write(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size());
  } else {
    written = write(buffer_.data(), handOn);
  }
  if (!written) {
    throw ERR{this};
  }
  std::memmove(buffer_.data(), buffer_.data() + handOn, keep);
  bufferCount_ = keep;
}
