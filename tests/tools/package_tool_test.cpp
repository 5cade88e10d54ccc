// The builder's command line: output, messages and exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "package_test_folder.h"

namespace {

using package_test::CTempFolder;

struct CRun {
  int exitCode = -1;
  std::string output;  // standard output and standard error
};

struct CPipeClose {
  void operator()(std::FILE* pipe) const noexcept { ::pclose(pipe); }
};

// `runner` is a command line that runs the tool as another user, or empty.
CRun runTool(const std::string& arguments, const std::string& runner = "") {
  const std::string command = runner + "'" + BRANTEL_PACKAGE_TOOL + "' " + arguments + " 2>&1";
  CRun run;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    return run;
  }
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
    run.output.append(buffer, got);
  }
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

TEST(PackageTool, PacksAndReportsWhatItPacked) {
  CTempFolder product;
  CTempFolder out;
  product.write("Brantel.exe", std::string(50000, 'x'));
  product.write("docs/Read Me.txt", "hello");
  const std::filesystem::path output = out.root() / "package.bin";
  const CRun run = runTool("--key-field 000102030405060708090a0b0c0d0e0f " + quoted(product.root()) + " " +
                           quoted(output));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::size_t size = std::filesystem::file_size(output);
  EXPECT_NE(run.output.find("packed 2 files: 50005 bytes in, " + std::to_string(size) + " bytes out"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("docs/Read Me.txt"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(" s\n"), std::string::npos) << "no time in: " << run.output;

  // The same folder and key field give the same package.
  const std::filesystem::path again = out.root() / "again.bin";
  ASSERT_EQ(runTool("--key-field 000102030405060708090a0b0c0d0e0f " + quoted(product.root()) + " " +
                    quoted(again)).exitCode, 0);
  EXPECT_EQ(package_test::readFile(output), package_test::readFile(again));
}

TEST(PackageTool, BadInputGivesAMessageAndNoPackage) {
  CTempFolder temp;
  temp.write("product/A.txt", "1");
  temp.write("product/a.txt", "2");
  temp.write("good/readme.txt", "fine");
  const std::filesystem::path output = temp.root() / "package.bin";
  const struct {
    std::string arguments;
    int exitCode;
    const char* message;
  } cases[] = {
      {quoted(temp.root() / "missing") + " " + quoted(output), 1, "does not exist"},
      {quoted(temp.root() / "product") + " " + quoted(output), 1, "differ only in letter case"},
      {"", 2, "expected a product folder and an output file"},
      {"--key-field 0011 " + quoted(temp.root()) + " " + quoted(output), 2, "32 hexadecimal digits"},
      {"--code-page 99999 " + quoted(temp.root()) + " " + quoted(output), 2, "code page number"},
      {"--code-page 4242 " + quoted(temp.root() / "product") + " " + quoted(output), 1, "not known"},
      {"--bogus " + quoted(temp.root()) + " " + quoted(output), 2, "unknown option"},
      {quoted(temp.root() / "good") + " " + quoted(temp.root() / "no/such/folder/out.bin"), 1, "cannot write"},
  };
  for (const auto& c : cases) {
    const CRun run = runTool(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find("brantel-package: "), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(output)) << c.arguments;
  }
}

// Root reads a file whatever its permissions say, so a run as root could not
// show the refusal: under root the tool runs as a throw-away user (uid and
// gid 65534, no groups) that the permissions keep out, as they keep out the
// ordinary user who runs the tests without root.
std::string asUnprivilegedUser() {
  return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}

TEST(PackageTool, RefusesAFileItCannotRead) {
  namespace fs = std::filesystem;
  CTempFolder temp;
  temp.write("product/Brantel.exe", "exe");
  const fs::path locked = temp.write("product/locked.dll", "dll");
  const fs::path out = temp.root() / "out";
  fs::create_directory(out);
  fs::permissions(temp.root(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(out, fs::perms::all);
  const std::string product = quoted(temp.root() / "product") + " ";

  // The same user packs the folder while the file is readable: only the
  // permissions can make the difference below.
  const CRun readable = runTool(product + quoted(out / "readable.bin"), asUnprivilegedUser());
  ASSERT_EQ(readable.exitCode, 0) << readable.output;
  ASSERT_TRUE(fs::exists(out / "readable.bin"));

  fs::permissions(locked, fs::perms::none);
  const CRun run = runTool(product + quoted(out / "package.bin"), asUnprivilegedUser());
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("cannot read " + locked.string()), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(out / "package.bin"));
}

}  // namespace
