// One walk over every entry of the package, in the order of its central
// directory, that refuses a directory which does not hold together.
//
// The reader alone ends a walk on its first failure as if the list had
// ended, trusts the count of the end record and never compares the
// directory's names with the local headers': one flipped bit there places a
// partial or renamed set of files.  Here a walk ends as Damaged when the
// reader fails in any way, when an entry's name differs from its local
// header's, or when the entries walked do not make up exactly the directory
// the end record describes (their number and their bytes).
#pragma once

#include <cstddef>

#include "base/zip_archive.h"

namespace zip {

enum class WalkStep {
  Entry,    // the next entry
  End,      // every entry has been walked
  Damaged,  // the directory does not hold together; the walk is over
};

class CEntryWalk {
public:
  // Starts at the first entry.  The walk moves the archive's one position:
  // nothing else may walk or locate entries until it is over.
  explicit CEntryWalk(CZIPFileBase& archive) noexcept : archive_(archive) {}

  // Fills `entry` with the next entry (Entry), or says why there is none.
  // After End or Damaged it keeps answering the same.
  WalkStep next(CEntryInfo& entry);

private:
  WalkStep step();

  CZIPFileBase& archive_;
  std::size_t walked_ = 0;
  bool started_ = false;
  WalkStep last_ = WalkStep::Entry;  // anything else: the walk is over
};

}  // namespace zip
