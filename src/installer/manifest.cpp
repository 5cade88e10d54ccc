#include "installer/manifest.h"

#include <windows.h>

#include <cstdint>

#include "base/path_join.h"
#include "base/random.h"
#include "base/scoped_handle.h"
#include "base/stream_in_file.h"
#include "base/stream_out_mem.h"
#include "xml/xml_document.h"
#include "xml/xml_parser.h"
#include "installer/file_sink.h"
#include "installer/install_paths.h"
#include "xml/xml_writer.h"

namespace setup {

namespace {

bool isExistingFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The listed paths that still name files, in document order.
void collectListedFiles(const XmlDocumentPtr& manifest, std::vector<std::wstring>& previousFiles) {
  for (XmlNodePtr child = appInfoContent(manifest); child; child = child->nextSibling()) {
    if (!child->isElement() || child->text != L"file") {
      continue;
    }
    const std::optional<std::wstring> path = getAttribute(child, L"n");
    if (path && isExistingFile(*path)) {
      previousFiles.push_back(*path);
    }
  }
}

std::vector<std::uint8_t> serialisedManifest(std::wstring_view installationDirectory,
                                             const std::vector<std::wstring>& placedFiles) {
  const XmlDocumentPtr manifest = newAppInfoDocument();
  const XmlNodePtr appInfo = documentElement(manifest);
  const auto appendFile = [&appInfo](const std::wstring& path) {
    const XmlNodePtr file = newXmlElement(L"file");
    file->attributes.set(L"n", path);
    CXmlNode::appendChild(appInfo, file);
  };
  for (const std::wstring& path : placedFiles) {
    appendFile(path);
  }
  appendFile(manifestPath(installationDirectory));

  XStreamOutMem out;
  writeDocument(manifest, out);
  out.flush();
  return out.takeBytes();
}

// Writes the whole file under a temporary name in the same folder, then
// renames it into place: a failure leaves the earlier file, or none, but
// never a cut one.
void replaceHiddenFile(std::wstring_view folder, const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  const std::wstring temporary = joinPath(folder, temporaryFileName(randomValue()));
  {
    CScopedFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!file) {
      return;
    }
    if (!writeWhole(file.get(), bytes.data(), bytes.size()) || !::FlushFileBuffers(file.get())) {
      file.reset();
      ::DeleteFileW(temporary.c_str());
      return;
    }
  }
  if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary.c_str());
  }
}

}  // namespace

std::wstring manifestPath(std::wstring_view installationDirectory) {
  return joinPath(installationDirectory, kManifestFileName);
}

void ReadPreviousManifest(std::wstring_view installationDirectory, std::vector<std::wstring>& previousFiles) noexcept {
  try {
    XStreamInFile in(manifestPath(installationDirectory));
    collectListedFiles(parseDocument(in), previousFiles);
  } catch (...) {
    // No manifest, a damaged one or an unexpected structure: nothing (more)
    // to remove.
  }
}

void WriteManifest(std::wstring_view installationDirectory, const std::vector<std::wstring>& placedFiles) noexcept {
  try {
    replaceHiddenFile(installationDirectory, manifestPath(installationDirectory),
                      serialisedManifest(installationDirectory, placedFiles));
  } catch (...) {
    // A manifest that cannot be built or written only means that the next
    // installation removes nothing.
  }
}

}  // namespace setup
