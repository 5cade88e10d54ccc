#!/usr/bin/env bash
# The markup preview tool under Wine:
#   preview_test.sh shots|broken|reload SCRIPTS_DIR brantel-preview.exe uidriver.exe
# shots:  every markup file of ui/ photographed at 96 DPI in one prefix, and
#         one at 192 DPI, which must come out wider;
# broken: a copy of ui/ with one damaged file: exit code 1 and a message
#         naming the file;
# reload: the tool left running, its markup file changed twice: the window
#         shows the new markup, then a message box naming the broken file.
set -uo pipefail

mode=$1
scripts=$2
export BRANTEL_PREVIEW_TOOL=$3
uidriver=$4
root=$(cd "$scripts/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/brantel-preview-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
unset DISPLAY

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
expect_equal() {
  [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}

# "WIDTH HEIGHT COLOURS" of an 8-bit RGB or RGBA PNG file (COLOURS: how
# many different colours it shows), or nothing when it is not one.
png_size() {
  python3 - "$1" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
    sys.exit()
width, height, depth, kind = struct.unpack(">IIBB", data[16:26])
channels = {2: 3, 6: 4}.get(kind)
if depth != 8 or not channels:
    sys.exit()
packed, at = b"", 8
while at < len(data):
    length, name = struct.unpack(">I4s", data[at:at + 8])
    if name == b"IDAT":
        packed += data[at + 8:at + 8 + length]
    at += 12 + length
raw, stride, rows, above = zlib.decompress(packed), width * channels, [], bytearray(width * channels)
for y in range(height):
    kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for x in range(stride):
        a = line[x - channels] if x >= channels else 0
        b, c = above[x], above[x - channels] if x >= channels else 0
        p = a + b - c
        nearest = a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else b if abs(p - b) <= abs(p - c) else c
        line[x] = (line[x] + (0, a, b, (a + b) // 2, nearest)[kind]) & 0xFF
    rows.append(bytes(line))
    above = line
colours = {row[x:x + 3] for row in rows for x in range(0, stride, channels)}
print(width, height, len(colours))
PY
}

# A picture of a shown window: a PNG of at least the smallest dialog and at
# most a large screen, in more than the two colours of an empty window.
expect_window_png() {
  local size
  size=$(png_size "$1" 2>/dev/null)
  if [ -z "$size" ]; then
    fail "$1 is no PNG file"
    return
  fi
  read -r width height colours <<<"$size"
  if [ "$width" -lt 24 ] || [ "$height" -lt 24 ] || [ "$width" -gt 4000 ] || [ "$height" -gt 4000 ]; then
    fail "$1 is $width x $height"
  fi
  [ "$colours" -gt 2 ] || fail "$1 shows $colours colours"
}

shots() {
  local markup args=() name
  while IFS= read -r markup; do
    name=${markup//\//-}
    args+=("$markup" --out "$work/$name.png")
  done < <(cd "$root/ui" && find . -name '*.xml' ! -path './strings/*' | sed 's|^\./||' | sort)
  [ ${#args[@]} -ge 6 ] || fail "no markup files found in $root/ui"
  bash "$scripts/preview.sh" "${args[@]}"
  expect_equal "exit code at 96 DPI" "$?" 0
  for ((i = 2; i < ${#args[@]}; i += 3)); do
    expect_window_png "${args[i]}"
  done

  bash "$scripts/preview.sh" ui/dlg/welcome.xml --dpi 192 --out "$work/welcome-192.png"
  expect_equal "exit code at 192 DPI" "$?" 0
  expect_window_png "$work/welcome-192.png"
  local at96 at192
  at96=$(png_size "$work/dlg-welcome.xml.png" | cut -d' ' -f1)
  at192=$(png_size "$work/welcome-192.png" | cut -d' ' -f1)
  [ "${at192:-0}" -gt "$((${at96:-0} * 3 / 2))" ] || fail "at 192 DPI the window is $at192 wide, at 96 $at96"
}

broken() {
  cp -r "$root/ui" "$work/ui"
  # Cut in the middle of an element: the file is no longer well formed.
  head -c 120 "$root/ui/dlg/finish.xml" >"$work/ui/dlg/finish.xml"
  local message
  message=$(bash "$scripts/preview.sh" --ui "$work/ui" dlg/welcome.xml --out "$work/welcome.png" \
    dlg/finish.xml --out "$work/finish.png" 2>&1 >/dev/null)
  expect_equal "exit code with a broken file" "$?" 1
  grep -q 'finish\.xml: .' <<<"$message" || fail "the message does not name the file: [$message]"
  grep -q 'welcome\.xml' <<<"$message" && fail "the sound file is reported too: [$message]"
  expect_window_png "$work/welcome.png"
  [ ! -e "$work/finish.png" ] || fail "a picture was written for the broken file"
}

probe_markup() {
  printf '<dialog base="stddlg.xml">\n  <caption>%s</caption>\n  <div>%s</div>\n</dialog>\n' "$1" "$2" \
    >"$work/ui/dlg/probe.xml"
}

reload() {
  cp -r "$root/ui" "$work/ui"
  probe_markup "Preview before" "First"
  source "$scripts/wine-prefix.sh"
  prefix_new "$BRANTEL_PREVIEW_TOOL" || exit 1
  trap 'prefix_drop; rm -rf "$work"' EXIT
  driver() { prefix_run "$uidriver" "$@" | tr -d '\r'; }

  prefix_run "$BRANTEL_PREVIEW_TOOL" --ui "$(prefix_windows_path "$work/ui")" dlg/probe.xml &
  local shown=$!
  driver texts --caption "Preview before" --timeout 30000 | grep -qx "First" ||
    fail "the first markup is not shown"

  probe_markup "Preview after" "Second"
  driver texts --caption "Preview after" --timeout 20000 | grep -qx "Second" ||
    fail "the changed markup is not shown"
  driver gone --caption "Preview before" --timeout 1000 || fail "the first window stays"

  printf '<dialog base="stddlg.xml"><caption>Broken' >"$work/ui/dlg/probe.xml"
  local box
  box=$(driver msgbox --caption "Markup preview" --timeout 20000)
  grep -q $'^text\t.*probe\\.xml: ' <<<"$box" || fail "the message box does not name the file: [$box]"
  grep -qx $'icon\terror' <<<"$box" || fail "the message box has no error icon: [$box]"
  # A tool that shows no box is stopped, so that the test ends.
  driver click --caption "Markup preview" --text OK >/dev/null || kill "$shown"
  wait "$shown"
  expect_equal "exit code after a broken reload" "$?" 1
}

case $mode in
  shots | broken | reload) "$mode" ;;
  *) echo "usage: preview_test.sh shots|broken|reload SCRIPTS_DIR brantel-preview.exe uidriver.exe" >&2; exit 2 ;;
esac
[ "$failures" -eq 0 ] || exit 1
echo "preview $mode: passed"
