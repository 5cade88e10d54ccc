// One node of a prepared dialog: an element, a text run or a line break of
// the markup, with everything layout and the controls later keep in it.
//
// Nodes made from markup have lower-case element names and attribute names,
// and lower-case attribute values except `title`; every comparison with a
// keyword is therefore an exact comparison with a lower-case word.
//
// This header touches no Win32 API: rectangles and sizes are plain 32-bit
// pairs with the platform's field order, and the window and font handles are
// the platform's own handle types, declared here without their header.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ref_ptr.h"
#include "base/tree.h"
#include "base/hash_map.h"

struct HWND__;
struct HFONT__;
using CWindowHandle = HWND__*;
using CFontHandle = HFONT__*;

// left, top, right, bottom, in pixels: the platform's RECT layout.
struct CBoxRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  friend bool operator==(const CBoxRect&, const CBoxRect&) = default;
};

struct CBoxSize {
  std::int32_t cx = 0;
  std::int32_t cy = 0;

  friend bool operator==(const CBoxSize&, const CBoxSize&) = default;
};

using CDialogAttributes = THashMap<std::wstring, std::wstring>;

class CDialogNode;
using CDialogTreeNode = CCommonRefObject<CDialogNode>;
using DialogNodePtr = TRefPtr<CDialogTreeNode>;

// A requested width of this value means that no width is given.
inline constexpr std::int32_t kNoWidth = 2147423647;  // 0x7FFF159F
// A content width above this counts as unbounded.
inline constexpr std::int32_t kBoundedWidthLimit = 2147363647;  // 0x7FFE2B3F

class CDialogNode {
public:
  enum Kind : std::int32_t { Element = 0, Text = 1, LineBreak = 2 };
  enum Display : std::int32_t { Block = 0, Inline = 1, None = 2 };

  CDialogNode() = default;
  CDialogNode(std::int32_t nodeKind, std::wstring nodeName) : kind(nodeKind), name(std::move(nodeName)) {}

  bool isElement() const noexcept { return kind == Element; }
  bool isText() const noexcept { return kind == Text; }
  bool isLineBreak() const noexcept { return kind == LineBreak; }
  // An element of the given (lower-case) name.
  bool is(std::wstring_view elementName) const noexcept { return kind == Element && name == elementName; }

  const std::wstring* attribute(std::wstring_view key) const noexcept { return attributes.find(key); }
  bool hasAttribute(std::wstring_view key) const noexcept { return attributes.contains(key); }
  std::wstring attributeOr(std::wstring_view key, std::wstring_view fallback) const;
  // A boolean attribute: "true" in any case or a non-zero integer; absent:
  // fallback.
  bool flag(std::wstring_view key, bool fallback = false) const;
  // A length attribute in pixels; an absent one reads like a malformed one.
  std::int32_t length(std::wstring_view key, std::int32_t em) const;

  std::int32_t kind = Element;
  // The lower-case element name; for a text run, its text.
  std::wstring name;
  // Copied from the markup; the engine does not use it.
  std::wstring namespaceUri;
  // Trimmed lower-case names, unique.
  CDialogAttributes attributes;
  std::int32_t display = Inline;
  CBoxRect margin;
  CBoxRect padding;
  // The outer rectangle after layout, margins included, in client
  // coordinates of the dialog.
  CBoxRect box;
  std::int32_t width = kNoWidth;
  CWindowHandle window = nullptr;
  CBoxSize naturalSize;
  std::int32_t controlId = 0;
  // The control's window rectangle and font as first laid out, from which
  // every DPI change rescales.
  CBoxRect recordedRect;
  CFontHandle recordedFont = nullptr;
  // What a container lays out, in order: its child elements and the word and
  // line-break cells made from its text.
  std::vector<DialogNodePtr> cells;
};

DialogNodePtr newDialogElement(std::wstring name);
DialogNodePtr newDialogText(std::wstring text);
DialogNodePtr newDialogLineBreak();
