// Output streams: bytes collected in a 1024-byte buffer and handed to a sink
// piece by piece.
//
// In text mode the buffer holds UTF-16 code units (char16_t in both trees)
// that are converted to UTF-8 on each flush; the XML writer uses it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

class XStreamOut {
public:
  // The sink refused a block.  A signal, not an XException.
  struct ERR {
    const XStreamOut* stream;
  };

  XStreamOut() noexcept = default;
  XStreamOut(const XStreamOut&) = delete;
  XStreamOut& operator=(const XStreamOut&) = delete;
  virtual ~XStreamOut() = default;

  // Hands what the buffer holds to the sink (as UTF-8 in text mode) and
  // empties it; raises ERR, keeping the buffer, when the sink refuses.
  virtual void flush();
  // The sink: takes a block of bytes, true on success.
  virtual bool write(const std::uint8_t* bytes, std::size_t count) = 0;

  // Copies bytes into the buffer, flushing whenever it is full.
  void put(const void* bytes, std::size_t count);
  // Puts the text as UTF-16 code units (for text mode).
  void putText(std::wstring_view text);

  void setTextMode(bool on) noexcept { textMode_ = on ? 1 : 0; }
  bool textMode() const noexcept { return textMode_ == 1; }

private:
  static constexpr std::size_t kBufferSize = 1024;

  std::size_t bytesToKeep() const noexcept;

  std::array<std::uint8_t, kBufferSize> buffer_{};
  std::uint64_t bufferCount_ = 0;
  std::uint32_t textMode_ = 0;
};
