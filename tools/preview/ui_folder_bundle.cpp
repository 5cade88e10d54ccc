#include "preview/ui_folder_bundle.h"

#include <string>
#include <utility>

#include "app/exception.h"
#include "base/ansi.h"
#include "bundle/bundle_files.h"
#include "resource/bundle_records.h"
#include "resource/resource_bundle.h"

CUiFolderBundle::~CUiFolderBundle() { indexResourceBundle(nullptr, 0); }

void CUiFolderBundle::load() {
  std::vector<std::pair<std::string, std::string>> files;
  try {
    for (const bundle::CBundleFile& file : bundle::collectBundleFiles({folder_})) {
      files.emplace_back(file.name, bundle::readBundleFile(file));
    }
  } catch (const bundle::CBundleError& error) {
    throw XExceptionResource(fromAnsi(error.what()));
  }
  // The new block is indexed before the old one goes.
  std::vector<std::uint8_t> block = makeBundleBlock(files);
  indexResourceBundle(block.data(), block.size());
  block_ = std::move(block);
}
