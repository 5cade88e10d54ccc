#!/usr/bin/env bash
# Checks what setup.exe carries, from the outside:
#  - its import table names only libraries that the system always takes from
#    System32 (known DLLs), so no library planted beside it is bound at load;
#  - the product identifier's text is nowhere in the file (it is built at run
#    time), neither as 8-bit nor as UTF-16 text;
#  - the update server's address and the protocol words are nowhere in it
#    as text (tests/net/check-hidden-words.sh);
#  - its application manifest declares Windows 8.1 and 10, asInvoker,
#    per-monitor DPI awareness and common controls 6.
set -euo pipefail
exe=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
status=0
fail() { echo "FAIL: $*"; status=1; }

# Libraries bound at load time, before the program can restrict the search:
# only those that the loader takes from System32 whatever the search path
# says and that pull in nothing else by name.  Everything else (shell32, which
# pulls shlwapi and shcore, ole32, comctl32, ...) is delay-loaded and bound on
# first call, after the search is limited to System32.
known='^(kernel32|user32|gdi32|advapi32|msvcrt)\.dll$'
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || fail "no import table found"
for dll in $imports; do
  [[ $dll =~ $known ]] || fail "imports $dll, which a planted copy beside setup.exe could replace"
done
echo "imports: $(echo $imports)"

guid=6E1B2C4D-93A7-4F58-B0C2-7D4E9A31F86B
for form in "$guid" "${guid,,}"; do
  if grep -c -a -F "$form" "$exe" >/dev/null; then fail "the product identifier $form is stored as text"; fi
  wide=$(printf '%s' "$form" | sed 's/./&\\x00/g')
  if LC_ALL=C grep -c -a -P "$wide" "$exe" >/dev/null; then fail "the product identifier $form is stored as UTF-16"; fi
done
# The same search does find the text where it is: the check itself works.
printf 'xx%syy' "$guid" | grep -q -a -F "$guid" || fail "the text search is broken"
printf 'x\0A\0B\0' | LC_ALL=C grep -q -a -P 'A\x00B\x00' || fail "the UTF-16 search is broken"

# The address is the maker's build setting; the entry passes it when it
# differs from the development build's.
root=$(cd "$(dirname "$0")/../.." && pwd)
bash "$root/tests/net/check-hidden-words.sh" "$exe" "$root/src/net/protocol_words.txt" \
  "${BRANTEL_DEFAULT_SERVER_ADDRESS:-https://updates.brantel.test/setup/v1}" || status=1

manifest=$(LC_ALL=C grep -a -o '<assembly.*</assembly>' "$exe" | tr -d '\r\n' || true)
[ -n "$manifest" ] || manifest=$(LC_ALL=C tr -d '\r\n' <"$exe" | grep -a -o '<assembly.*</assembly>' || true)
[ -n "$manifest" ] || fail "no application manifest"
for needle in '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' \
  'level="asInvoker"' 'PerMonitorV2' 'Microsoft.Windows.Common-Controls" version="6.0.0.0"'; do
  [[ $manifest == *"$needle"* ]] || fail "the manifest lacks $needle"
done

[ $status -eq 0 ] && echo "setup.exe: imports, identifier and manifest as they should be"
exit $status
