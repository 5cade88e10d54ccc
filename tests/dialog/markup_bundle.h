// A small resource bundle in memory for the dialog tests and fuzzing: markup
// files and a string table, indexed in place of the program's bundle for as
// long as the object lives (and until the next one is made).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "resource/bundle_records.h"
#include "resource/resource_bundle.h"

class CMarkupBundle {
public:
  using Files = std::vector<std::pair<std::string, std::string>>;

  explicit CMarkupBundle(const Files& files) : block_(makeBundleBlock(files)) {
    indexResourceBundle(block_.data(), block_.size());
  }
  CMarkupBundle(const CMarkupBundle&) = delete;
  CMarkupBundle& operator=(const CMarkupBundle&) = delete;
  ~CMarkupBundle() { indexResourceBundle(nullptr, 0); }

  // A string table file made of (id, text) entries.
  static std::string stringTable(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string xml = "<stringtable>";
    for (const auto& [id, text] : entries) {
      xml += "<s id=\"" + id + "\">" + text + "</s>";
    }
    return xml + "</stringtable>";
  }

private:
  std::vector<std::uint8_t> block_;
};
