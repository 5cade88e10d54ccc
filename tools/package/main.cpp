// brantel-package: builds the setup's package from a folder of product files.
//
//   brantel-package [--key-field HEX32] [--code-page N] PRODUCT_FOLDER OUTPUT
//
// Writes OUTPUT (the RCDATA resource that setup.exe carries) and prints what
// it packed.  Without --key-field a fresh random key field is drawn.  The
// archive inside carries its MD5 digest in its comment, which the setup
// demands before it installs anything.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "package/package_builder.h"
#include "package/product_files.h"

namespace {

struct CArguments {
  std::filesystem::path folder;
  std::filesystem::path output;
  package::CPackOptions options;
};

class CUsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

zip::CKeyField parseKeyField(std::string_view hex) {
  zip::CKeyField field{};
  if (hex.size() != field.size() * 2) {
    throw CUsageError("--key-field takes 32 hexadecimal digits");
  }
  for (std::size_t i = 0; i < field.size(); ++i) {
    const std::string pair(hex.substr(i * 2, 2));
    char* end = nullptr;
    const unsigned long value = std::strtoul(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2) {
      throw CUsageError("--key-field takes 32 hexadecimal digits");
    }
    field[i] = static_cast<std::uint8_t>(value);
  }
  return field;
}

unsigned parseCodePage(std::string_view text) {
  const std::string digits(text);
  char* end = nullptr;
  const unsigned long value = std::strtoul(digits.c_str(), &end, 10);
  if (digits.empty() || *end != '\0' || value == 0 || value > 65535) {
    throw CUsageError("--code-page takes a code page number such as 1252");
  }
  return static_cast<unsigned>(value);
}

CArguments parseArguments(int argc, char** argv) {
  CArguments arguments;
  std::vector<std::string_view> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--key-field" && hasValue) {
      arguments.options.keyField = parseKeyField(argv[++i]);
    } else if (argument == "--code-page" && hasValue) {
      arguments.options.codePage = parseCodePage(argv[++i]);
    } else if (argument.starts_with("--")) {
      throw CUsageError("unknown option " + std::string(argument));
    } else {
      positional.push_back(argument);
    }
  }
  if (positional.size() != 2) {
    throw CUsageError("expected a product folder and an output file");
  }
  arguments.folder = positional[0];
  arguments.output = positional[1];
  return arguments;
}

void writeOutput(const std::filesystem::path& output, const std::vector<std::uint8_t>& container) {
  const std::filesystem::path partial = output.string() + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(container.data()), static_cast<std::streamsize>(container.size()));
    if (!file.flush()) {
      std::error_code ignored;
      std::filesystem::remove(partial, ignored);
      throw package::CBuildError("cannot write " + output.string());
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, output, error);
  if (error) {
    std::filesystem::remove(partial, error);
    throw package::CBuildError("cannot write " + output.string());
  }
}

void report(const package::CPackResult& result, double seconds) {
  for (const package::CPackedFile& file : result.files) {
    std::printf("  %-8s %12llu -> %12llu  %s\n", file.method == package::Method::Deflated ? "deflated" : "stored",
                static_cast<unsigned long long>(file.bytesIn), static_cast<unsigned long long>(file.bytesOut),
                file.shownName.c_str());
  }
  std::printf("packed %zu files: %llu bytes in, %zu bytes out, %.2f s\n", result.files.size(),
              static_cast<unsigned long long>(result.bytesIn), result.container.size(), seconds);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const CArguments arguments = parseArguments(argc, argv);
    const auto start = std::chrono::steady_clock::now();
    const package::CPackResult result = package::buildPackage(arguments.folder, arguments.options);
    writeOutput(arguments.output, result.container);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    report(result, took.count());
    return 0;
  } catch (const CUsageError& error) {
    std::fprintf(stderr, "brantel-package: %s\nusage: brantel-package [--key-field HEX32] [--code-page N] "
                         "PRODUCT_FOLDER OUTPUT\n", error.what());
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "brantel-package: %s\n", error.what());
    return 1;
  }
}
