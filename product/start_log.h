// Where the stand-in product notes how it was started, for the tests: one
// line per start, its switches, appended to the file named by the
// environment variable BRANTEL_PRODUCT_LOG, else "Brantel product
// starts.log" in the temporary folder.
#pragma once

#include <string>

namespace product {

std::wstring startLogPath();
void recordStart(const std::wstring& switches);

}  // namespace product
