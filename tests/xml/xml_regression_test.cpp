// Inputs that once broke the parser or the writer, kept so that they never
// do again.  Each one parses (or fails with "XML parse error") and writes
// without fault.
#include <gtest/gtest.h>

#include <string>

#include "app/exception.h"
#include "xml_test_support.h"

namespace {

struct Regression {
  const char* what;
  std::string input;
};

TEST(XmlRegression, InputsThatOnceFailed) {
  const Regression cases[] = {
      {"nesting deeper than the stack allows", std::string(2000000, '<').replace(0, 1, "<a>")},
  };
  for (const Regression& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      writeBytes(parseBytes(c.input));
    } catch (const XExceptionXml&) {
    }
  }
}

}  // namespace
