#include "dialog/layout_cells.h"

#include <array>

namespace {

constexpr std::array<std::wstring_view, 14> kControlElements = {
    L"button", L"radio", L"checkbox", L"text",   L"combo", L"list", L"tree",
    L"progress", L"date", L"static",  L"label", L"a",     L"image", L"hr"};

bool isSpace(wchar_t c) { return c == L' '; }

bool isLineSpace(wchar_t c) { return c == L' ' || c == L'\t'; }
bool isWhiteSpace(wchar_t c) { return isLineSpace(c) || c == L'\n'; }

// The text without carriage returns, and without the white space that leads
// up to a first line feed (or follows a last one) over blanks and tabs only.
std::wstring withoutOuterLines(std::wstring_view text) {
  std::wstring plain;
  for (wchar_t c : text) {
    if (c != L'\r') {
      plain += c;
    }
  }
  const std::size_t firstFeed = plain.find(L'\n');
  if (firstFeed == std::wstring::npos) {
    return plain;
  }
  const std::size_t lastFeed = plain.rfind(L'\n');
  std::size_t begin = 0;
  std::size_t end = plain.size();
  const auto allLineSpace = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      if (!isLineSpace(plain[i])) {
        return false;
      }
    }
    return true;
  };
  if (allLineSpace(lastFeed + 1, plain.size())) {
    while (end > 0 && isWhiteSpace(plain[end - 1])) {
      --end;
    }
  }
  if (allLineSpace(0, firstFeed)) {
    while (begin < end && isWhiteSpace(plain[begin])) {
      ++begin;
    }
  }
  return plain.substr(begin, end - begin);
}

// The lines of the text, each without the blanks beside its line feeds.
std::vector<std::wstring_view> linesOf(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t feed = text.find(L'\n', start);
    lines.push_back(text.substr(start, feed == std::wstring_view::npos ? std::wstring_view::npos : feed - start));
    if (feed == std::wstring_view::npos) {
      break;
    }
    start = feed + 1;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::wstring_view& line = lines[i];
    while (i > 0 && !line.empty() && isSpace(line.front())) {
      line.remove_prefix(1);
    }
    while (i + 1 < lines.size() && !line.empty() && isSpace(line.back())) {
      line.remove_suffix(1);
    }
  }
  return lines;
}

// One line's words: blanks before (only the first word has any), the
// characters up to the next blank, the blanks after.  A line of blanks
// alone is one piece.
void appendWords(std::wstring_view line, std::vector<std::wstring>& pieces) {
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = at;
    while (at < line.size() && isSpace(line[at])) {
      ++at;
    }
    while (at < line.size() && !isSpace(line[at])) {
      ++at;
    }
    while (at < line.size() && isSpace(line[at])) {
      ++at;
    }
    pieces.emplace_back(line.substr(start, at - start));
  }
}

DialogNodePtr lineBreakCell(XCellMeasure& measure, CTextStyle style) {
  DialogNodePtr cell = newDialogLineBreak();
  cell->naturalSize = {0, measure.lineBreakHeight(style)};
  return cell;
}

void appendTextCells(const CDialogNode& text, CDialogNode& container, XCellMeasure& measure, CTextStyle style) {
  for (std::wstring& piece : cutTextRun(text.name)) {
    if (piece.empty()) {
      container.cells.push_back(lineBreakCell(measure, style));
      continue;
    }
    DialogNodePtr word = newDialogText(std::move(piece));
    word->naturalSize = measure.measureWord(*word, style);
    container.cells.push_back(word);
  }
}

void buildContainer(CDialogTreeNode& container, XCellMeasure& measure, CTextStyle style) {
  container.cells.clear();
  for (DialogNodePtr child = container.firstChild(); child; child = child->nextSibling()) {
    if (child->isText()) {
      appendTextCells(*child, container, measure, style);
    } else if (child->isLineBreak() || child->is(L"br")) {
      container.cells.push_back(lineBreakCell(measure, style));
    } else {
      container.cells.push_back(child);
      if (child->display == CDialogNode::None) {
        continue;
      }
      const CTextStyle inside = styleInside(*child, style);
      if (isControlElement(*child)) {
        child->naturalSize = measure.measureControl(*child, inside);
      } else {
        buildContainer(*child, measure, inside);
      }
    }
  }
}

}  // namespace

bool isControlElement(const CDialogNode& node) {
  for (std::wstring_view name : kControlElements) {
    if (node.is(name)) {
      return true;
    }
  }
  return false;
}

std::vector<std::wstring> cutTextRun(std::wstring_view text) {
  const std::wstring plain = withoutOuterLines(text);
  const std::vector<std::wstring_view> lines = linesOf(plain);
  std::vector<std::wstring> pieces;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) {
      pieces.emplace_back();
    }
    appendWords(lines[i], pieces);
  }
  return pieces;
}

void buildCells(CDialogTreeNode& root, XCellMeasure& measure) {
  root.cells.clear();
  if (root.display != CDialogNode::None) {
    buildContainer(root, measure, styleInside(root, CTextStyle{}));
  }
}
