// Layout alone of a large generated dialog, beside parsing and preparing the
// same markup in the same run: the milliseconds of each, layout's MB/s of
// markup, and layout's time as a multiple of the preparation ("x_prepare").
// Sizes come from a fixed measure, as in the layout tests: layout is timed,
// not the measuring of real fonts.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "base/stream_in_memory.h"
#include "dialog/dialog_layout.h"
#include "dialog/dialog_prepare.h"
#include "dialog/font_metrics.h"
#include "xml/xml_parser.h"

namespace {

// Sections of formatted text, a block inside an inline container, aligned
// lines, controls in same-width groups and stretched ones: every path of
// layout, a few thousand cells in all.
std::string largeDialog(int sections) {
  std::string text = "<dialog width=\"60em\">\n";
  for (int i = 0; i < sections; ++i) {
    const std::string n = std::to_string(i);
    text += "<div padding=\"0.5em\" margin-bottom=\"1em\">\n"
            "  Section " + n + ": setup copies the product into the folder below and registers it.\n"
            "  <b>Read this</b> before you go on; <i>every</i> option can be changed later.<br/>\n"
            "  <span><div align=\"right\">A block in an inline container " + n + "</div>and its inline text</span>\n"
            "  <div align=\"center\">A centred line of a few words that wraps at the width of the dialog when it "
            "is long enough to do so</div>\n"
            "  <label for=\"f" + n + "\">Folder:</label><text id=\"f" + n + "\" extend=\"1\"/><br/>\n"
            "  <button group=\"g\">Browse...</button><button group=\"g\">Reset the folder</button>"
            "<checkbox>Option " + n + "</checkbox><hr/>\n"
            "  <div display=\"none\"><button>hidden</button></div>\n"
            "</div>\n";
  }
  return text + "</dialog>\n";
}

const std::string& markup() {
  static const std::string text = largeDialog(300);
  return text;
}

class CBenchMeasure : public XCellMeasure {
public:
  CBoxSize measureControl(CDialogNode& control, CTextStyle) override {
    return {control.is(L"hr") ? 10 : 75, control.is(L"hr") ? 2 : 23};
  }
  CBoxSize measureWord(CDialogNode& word, CTextStyle style) override {
    return {static_cast<std::int32_t>(word.name.size()) * 6, lineBreakHeight(style)};
  }
  std::int32_t lineBreakHeight(CTextStyle style) override { return styleFontHeight(13, style); }
};

DialogModel prepared() {
  XStreamInMemory in(markup().data(), markup().size());
  return prepareDialog(documentElement(parseDocument(in)));
}

using CClock = std::chrono::steady_clock;

double millisecondsOf(CClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Every iteration parses and prepares the markup, then lays it out; the two
// are timed apart, so that the reference runs in the same conditions.
void LayOutDialog(benchmark::State& state) {
  CBenchMeasure measure;
  CClock::duration preparing{};
  CClock::duration layingOut{};
  std::int32_t height = 0;
  for (auto _ : state) {
    const CClock::time_point start = CClock::now();
    DialogModel model = prepared();
    model.metrics.textHeight = 13;
    const CClock::time_point ready = CClock::now();
    const CBoxSize client = layOutDialog(model, measure);
    preparing += ready - start;
    layingOut += CClock::now() - ready;
    height = client.cy;
    state.PauseTiming();
    model = DialogModel();
    state.ResumeTiming();
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["prepare_ms"] = millisecondsOf(preparing) / iterations;
  state.counters["layout_ms"] = millisecondsOf(layingOut) / iterations;
  state.counters["layout_MB/s"] = static_cast<double>(markup().size()) / 1e3 / (millisecondsOf(layingOut) / iterations);
  state.counters["x_prepare"] = millisecondsOf(layingOut) / millisecondsOf(preparing);
  state.counters["height_px"] = height;
}

}  // namespace

BENCHMARK(LayOutDialog)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
