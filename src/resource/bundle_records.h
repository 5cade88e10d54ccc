// The record layout of the resource bundle, shared by the program that reads
// it and the host tool that writes it.
//
// A deciphered bundle is a run of records without gaps.  Each record is a
// 592-byte file header in the platform's find-data layout, of which only the
// low 32 bits of the file size (offset 32) and the zero-terminated UTF-16 file
// name (offset 44, up to 260 units with the terminator) are used, followed by
// the file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kBundleRecordHeader = 592;
inline constexpr std::size_t kBundleSizeOffset = 32;
inline constexpr std::size_t kBundleNameOffset = 44;
// Units of the name field, the terminating zero included.
inline constexpr std::size_t kBundleNameUnits = 260;

// The bundle's RC4 key: the same 16 bytes in the program and the builder.
inline constexpr std::uint8_t kBundleKey[16] = {0x5B, 0xC1, 0x3E, 0x92, 0x07, 0xA4, 0x6D, 0xF8,
                                                0x21, 0x9C, 0x4F, 0xE3, 0x76, 0x0A, 0xB5, 0x38};

// One record as the walk sees it: the name still in UTF-16, the data inside
// the block.
struct CBundleRecord {
  std::u16string name;
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
};

// Visits every record in order.  A record is taken while its header and its
// data lie wholly inside the block; the walk stops when fewer than 592 bytes
// remain or a record would run past the end.  A name without its terminator
// ends at the end of its field.
void walkBundleRecords(const void* block, std::size_t size, const std::function<void(const CBundleRecord&)>& visit);

// Appends one record.  The name must have 1 to 259 UTF-16 units and no zero
// unit, and the data must fit a 32-bit size; otherwise XExceptionArgument
// says what is wrong.
void appendBundleRecord(std::vector<std::uint8_t>& block, std::u16string_view name, const void* data,
                        std::size_t size);

// A record block from (name, bytes) pairs with 7-bit names: what tests and
// fuzzers index with indexResourceBundle.
std::vector<std::uint8_t> makeBundleBlock(const std::vector<std::pair<std::string, std::string>>& files);
