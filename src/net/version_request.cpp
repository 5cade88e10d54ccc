#include "net/version_request.h"

#include "net/hidden_text.h"
#include "net/hidden_words.h"

namespace {

void appendField(std::string& body, const std::string& name, std::string_view value) {
  if (!body.empty()) {
    body += '&';
  }
  body.append(name).append(1, '=').append(value);
}

}  // namespace

std::string versionCheckBody(const CGuid& product, std::string_view extra) {
  const std::wstring identifier = formatGuid(product, GuidStyle::Upper);
  std::string body;
  appendField(body, reveal(hidden_words::FIELD_ACTION), reveal(hidden_words::ACTION_CHECK));
  appendField(body, reveal(hidden_words::FIELD_PRODUCT), std::string(identifier.begin(), identifier.end()));
  appendField(body, reveal(hidden_words::FIELD_EXTRA), extra);
  return body;
}
