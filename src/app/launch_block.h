// The launch block as one copy of the setup sees it: created by the first
// copy, claimed by the elevated copy, read by the first copy after the
// elevated copy has ended.
#pragma once

#include <cstdint>
#include <string>

#include "base/scoped_handle.h"

class CLaunchBlock {
public:
  enum class Role {
    None,    // could not be created or mapped
    First,   // this copy created the block
    Second,  // the block existed already
  };

  // Creates or opens the block of the session.
  static CLaunchBlock open();

  Role role() const { return role_; }

  // First copy: zero the block, write the signature, claimed = 0.
  void initialise();
  // Second copy: take the block if the signature matches and nobody has
  // claimed it yet.  Only one copy can win, even when two try at once.
  bool claim();

  // The launch request, filled by the installation page in the elevated copy.
  void setLaunchRequest(const std::wstring& programPath, const std::wstring& workingDirectory);
  bool launchRequested() const;
  // The texts as stored, never read past the field's end.
  std::wstring programPath() const;
  std::wstring workingDirectory() const;

private:
  CLaunchBlock() = default;
  std::uint8_t* bytes() const { return static_cast<std::uint8_t*>(view_.get()); }

  Role role_ = Role::None;
  CScopedHandle mapping_;
  CScopedView view_;
};
