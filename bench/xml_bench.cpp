// Parsing and writing a 1 MB markup document, with pugixml parsing (and
// saving) the same bytes in the same run as the reference.  Each benchmark
// reports MB/s of the document's size.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "base/stream_in_memory.h"
#include "base/stream_out_mem.h"
#include "xml/xml_parser.h"
#include "xml/xml_writer.h"
#include "xml_bench_document.h"

namespace {

const std::string& document() {
  static const std::string text = benchDialogDocument(1 << 20);
  return text;
}

void reportRate(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void ParseBrantel(benchmark::State& state) {
  const std::string& text = document();
  for (auto _ : state) {
    XStreamInMemory in(text.data(), text.size());
    XmlDocumentPtr parsed = parseDocument(in);
    benchmark::DoNotOptimize(parsed.get());
  }
  reportRate(state, text.size());
}

void WriteBrantel(benchmark::State& state) {
  const std::string& text = document();
  XStreamInMemory in(text.data(), text.size());
  const XmlDocumentPtr parsed = parseDocument(in);
  for (auto _ : state) {
    XStreamOutMem out;
    writeDocument(parsed, out);
    out.flush();
    benchmark::DoNotOptimize(out.bytes().data());
  }
  reportRate(state, text.size());
}

void ParsePugixml(benchmark::State& state) {
  const std::string& text = document();
  for (auto _ : state) {
    pugi::xml_document parsed;
    pugi::xml_parse_result result = parsed.load_buffer(text.data(), text.size());
    if (!result) {
      state.SkipWithError(result.description());
      break;
    }
    benchmark::DoNotOptimize(parsed.first_child());
  }
  reportRate(state, text.size());
}

void WritePugixml(benchmark::State& state) {
  const std::string& text = document();
  pugi::xml_document parsed;
  parsed.load_buffer(text.data(), text.size());
  for (auto _ : state) {
    std::ostringstream out;
    parsed.save(out, "", pugi::format_raw);
    benchmark::DoNotOptimize(out.str().data());
  }
  reportRate(state, text.size());
}

}  // namespace

BENCHMARK(ParseBrantel)->Unit(benchmark::kMillisecond);
BENCHMARK(ParsePugixml)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteBrantel)->Unit(benchmark::kMillisecond);
BENCHMARK(WritePugixml)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
