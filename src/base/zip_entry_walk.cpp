#include "base/zip_entry_walk.h"

namespace zip {

WalkStep CEntryWalk::next(CEntryInfo& entry) {
  if (last_ != WalkStep::Entry) {
    return last_;
  }
  last_ = step();
  if (last_ == WalkStep::Entry) {
    last_ = archive_.currentEntry(entry) && archive_.localNameMatches() ? WalkStep::Entry : WalkStep::Damaged;
    ++walked_;
  }
  return last_;
}

WalkStep CEntryWalk::step() {
  const int result = started_ ? archive_.nextEntry() : archive_.firstEntry();
  started_ = true;
  if (result == kOk) {
    return WalkStep::Entry;
  }
  if (result == kEndOfList && archive_.directoryEndsAfterCurrent(walked_)) {
    return WalkStep::End;
  }
  return WalkStep::Damaged;
}

}  // namespace zip
