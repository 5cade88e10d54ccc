// The installer's throughput under Wine: a package installed into an empty
// folder and again over that installation, beside a plain extraction of the
// same ZIP archive with minizip into another folder on the same disk (what
// the disk and inflate allow).
//
//   installer_bench.exe PACKAGE_FILE
#include <windows.h>

#include <minizip/unzip.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/guid.h"
#include "base/utf8.h"
#include "base/zip_cipher.h"
#include "installer/system_registration.h"
#include "product/demo/install_runner.h"

namespace {

struct CFigures {
  double seconds = 0;
  std::uint64_t bytes = 0;
  std::uint64_t files = 0;
};

void print(const char* what, const CFigures& figures) {
  std::printf("%-34s %8.2f s %9.1f MB/s %9.0f files/s  (%llu files, %.1f MB)\n", what, figures.seconds,
              figures.bytes / 1e6 / figures.seconds, figures.files / figures.seconds,
              static_cast<unsigned long long>(figures.files), figures.bytes / 1e6);
}

std::vector<std::uint8_t> readAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

CFigures packageSize(zip::CZIPFile& archive) {
  CFigures figures;
  zip::CEntryInfo entry;
  for (int step = archive.firstEntry(); step == zip::kOk && archive.currentEntry(entry); step = archive.nextEntry()) {
    figures.bytes += entry.size;
    ++figures.files;
  }
  return figures;
}

CFigures timedInstall(const std::vector<std::uint8_t>& archiveBytes, const wchar_t* folderName) {
  const TRefPtr<zip::CZIPFile> archive = zip::openArchive(archiveBytes.data(), archiveBytes.size());
  CFigures figures = packageSize(*archive);
  auto task = demo::pageTask(archive, false);
  task->folderName = folderName;
  task->uninstallEntry = CGuid{};
  task->removeBeta = 0;
  const auto start = std::chrono::steady_clock::now();
  const demo::CInstallOutcome outcome = demo::runInstallation(task);
  figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!outcome.done) {
    std::printf("the installation failed: %s\n", toUtf8(outcome.error).c_str());
  }
  return figures;
}

// Every entry into a file of the folder, as a plain unzip tool would.
CFigures timedPlainExtraction(const std::string& zipPath, const std::filesystem::path& folder) {
  CFigures figures;
  const auto start = std::chrono::steady_clock::now();
  unzFile archive = unzOpen64(zipPath.c_str());
  std::vector<char> buffer(65536);
  for (int step = unzGoToFirstFile(archive); step == UNZ_OK; step = unzGoToNextFile(archive)) {
    char name[512];
    unz_file_info64 info{};
    unzGetCurrentFileInfo64(archive, &info, name, sizeof(name), nullptr, 0, nullptr, 0);
    const std::filesystem::path target = folder / name;
    std::filesystem::create_directories(target.parent_path());
    std::FILE* out = _wfopen(target.wstring().c_str(), L"wb");
    unzOpenCurrentFile(archive);
    for (int read = 0; (read = unzReadCurrentFile(archive, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0;) {
      std::fwrite(buffer.data(), 1, static_cast<std::size_t>(read), out);
      figures.bytes += static_cast<std::uint64_t>(read);
    }
    unzCloseCurrentFile(archive);
    std::fclose(out);
    ++figures.files;
  }
  unzClose(archive);
  figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return figures;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: installer_bench.exe PACKAGE_FILE\n");
    return 2;
  }
  const std::vector<std::uint8_t> container = readAll(argv[1]);
  std::vector<std::uint8_t> archiveBytes;
  if (!zip::decipherContainer(container.data(), container.size(), archiveBytes)) {
    std::fprintf(stderr, "not a package\n");
    return 1;
  }
  const std::wstring programFolder = setup::DecideProgramFolder(setup::is64BitSystem());
  print("installer, into an empty folder", timedInstall(archiveBytes, L"Bench"));
  print("installer, over that installation", timedInstall(archiveBytes, L"Bench"));

  const std::string zipPath = "C:\\installer-bench.zip";
  {
    std::ofstream zip(zipPath, std::ios::binary);
    zip.write(reinterpret_cast<const char*>(archiveBytes.data()), static_cast<std::streamsize>(archiveBytes.size()));
  }
  print("minizip, plain extraction", timedPlainExtraction(zipPath, std::filesystem::path(programFolder) / "Bench Plain"));
  std::filesystem::remove(zipPath);
  return 0;
}
