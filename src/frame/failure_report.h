// The error boundary that every thread of the setup keeps at its edge.
//
// Nothing leaves the start-up hook, a window procedure or a worker's run as
// an exception: each catches everything at its boundary and hands it on as a
// text the user can read.  A member of the XException family brings its own
// text; anything else is shown with the application's fixed text for an
// unexpected failure, so that nothing reaches the user as a crash.
#pragma once

#include <windows.h>

#include <string>

namespace frame {

// The text for an exception that nobody expected, when no application object
// has one of its own.
inline constexpr wchar_t kUnexpectedFailureText[] = L"Unexpected error";

// The application's fixed text for an unexpected failure.  Any thread may ask.
std::wstring unexpectedFailureText();

// The text of the exception being handled: its own for a member of the
// family, else the fixed text.  Call only inside a catch handler.
std::wstring currentFailureText() noexcept;

// Shows the exception being handled in a message box with the error icon and
// the application name as caption, owned by the window when one is given.
// Call only inside a catch handler:
//   catch (...) { frame::reportCurrentFailure(window); }
void reportCurrentFailure(HWND owner = nullptr) noexcept;

}  // namespace frame
