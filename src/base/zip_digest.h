// The package's digest: every package carries the MD5 digest of its archive
// in the archive's comment, so that damage anywhere, the central directory
// included, refuses the package as a whole before anything is installed.  It
// guards against damage, not against forgery: anyone can compute it.
//
// Layout: the archive ends with its end record, whose comment-length field
// holds kDigestCommentSize, followed by the comment: kDigestPrefix and the 32
// lower-case hexadecimal digits of the MD5 digest of every byte before the
// comment, that is the whole archive up to and including the end record's
// comment-length field.  The archive stays a plain ZIP archive, which any
// tool lists and unpacks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zip {

class CArchiveSource;

inline constexpr std::string_view kDigestPrefix = "md5:";
inline constexpr std::size_t kDigestCommentSize = kDigestPrefix.size() + 32;

// Gives an archive that ends with an end record without a comment its digest
// comment.  False, with the archive unchanged, for anything else.
bool sealArchive(std::vector<std::uint8_t>& archive);

// True when the bytes end with an end record holding a digest comment, and
// the digest is that of the bytes before it.
bool digestMatches(CArchiveSource& source);

}  // namespace zip
