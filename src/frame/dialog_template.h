// An extended dialog template built in memory, for a dialog that has no
// resource: the header (style, extended style, caption, position and size in
// dialog units, font) and any number of items (class, text, id, style,
// position and size).  The bytes are laid out as DialogBoxIndirectParam reads
// them: version 1, signature 0xFFFF, every item on a four-byte boundary.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace frame {

// The dialog font; written only when the style holds DS_SETFONT (which
// DS_SHELLFONT includes), as the template's reader expects.
struct CDialogTemplateFont {
  std::uint16_t pointSize = 8;
  std::uint16_t weight = FW_NORMAL;
  bool italic = false;
  std::uint8_t charSet = DEFAULT_CHARSET;
  std::wstring face = L"MS Shell Dlg";
};

struct CDialogTemplateHeader {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  // Position and size in dialog units.
  short x = 0;
  short y = 0;
  short width = 100;
  short height = 100;
  std::wstring caption{};
  CDialogTemplateFont font{};
};

struct CDialogTemplateItem {
  // A window class by name: "BUTTON", "EDIT", "STATIC", "SysListView32"...
  std::wstring className{};
  std::wstring text{};
  DWORD id = 0;
  // The whole style; WS_CHILD and WS_VISIBLE are the caller's to give.
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  short x = 0;
  short y = 0;
  short width = 0;
  short height = 0;
};

class CDialogTemplate {
public:
  explicit CDialogTemplate(const CDialogTemplateHeader& header);

  // Appends an item; a template holds at most 65535 (XExceptionLength).
  void addItem(const CDialogTemplateItem& item);

  // What DialogBoxIndirectParam takes: an extended template passes under the
  // plain template's pointer type.  Valid until the next addItem.
  const DLGTEMPLATE* get() const;
  std::size_t size() const { return bytes_.size(); }

private:
  void put16(std::uint16_t value);
  void put32(std::uint32_t value);
  void putText(const std::wstring& text);
  void alignToFourBytes();

  // A heap block from std::vector is aligned for any fundamental type, so
  // offsets that are multiples of four are four-byte aligned in memory too.
  std::vector<std::uint8_t> bytes_;
  std::uint16_t itemCount_ = 0;
};

}  // namespace frame
