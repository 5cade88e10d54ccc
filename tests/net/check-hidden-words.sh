#!/usr/bin/env bash
# Checks that a program keeps the update server's address and the protocol
# words scrambled: none of them is in its code or data as 8-bit or UTF-16
# text.  Symbols and resources are left out of the search (the version
# resource and the manifest are no part of the network client).
#
#   check-hidden-words.sh PROGRAM.exe PROTOCOL_WORDS.txt ADDRESS
#
# Words shorter than five characters are too common to search for, and three
# longer ones are ordinary text elsewhere in any program of ours: "version"
# (the compression library's messages), "error" (its messages and the string
# table's names) and "moved" (the texts of the HTTP redirection statuses).
# The rest, and the address, must be absent.
set -euo pipefail
exe=$1
words=$2
address=$3
objcopy=${OBJCOPY:-x86_64-w64-mingw32-objcopy}
status=0
fail() { echo "FAIL: $*"; status=1; }

# A Perl pattern for the text as UTF-16: each character literal, then a zero.
utf16_pattern() {
  local text=$1 pattern="" i
  for ((i = 0; i < ${#text}; i++)); do
    pattern+="\\Q${text:i:1}\\E\\x00"
  done
  printf '%s' "$pattern"
}

bare=$(mktemp)
trap 'rm -f "$bare"' EXIT
"$objcopy" --strip-all --remove-section=.rsrc "$exe" "$bare"

secrets=("$address")
while IFS='=' read -r name value; do
  [[ $name =~ ^[A-Z][A-Z0-9_]*$ ]] || continue
  [ ${#value} -ge 5 ] || continue
  case $value in version | error | moved) continue ;; esac
  secrets+=("$value")
done <"$words"
[ ${#secrets[@]} -ge 5 ] || fail "too few words to search for: ${secrets[*]}"

for secret in "${secrets[@]}"; do
  if LC_ALL=C grep -q -a -F -- "$secret" "$bare"; then fail "\"$secret\" is stored as text"; fi
  if LC_ALL=C grep -q -a -P -- "$(utf16_pattern "$secret")" "$bare"; then fail "\"$secret\" is stored as UTF-16"; fi
done
# The same searches find the text where it is: the check itself works.
printf 'xx%syy' "$address" | LC_ALL=C grep -q -a -F -- "$address" || fail "the text search is broken"
printf '%s' "$address" | iconv -f ASCII -t UTF-16LE | LC_ALL=C grep -q -a -P -- "$(utf16_pattern "$address")" ||
  fail "the UTF-16 search is broken"

[ $status -eq 0 ] && echo "$(basename "$exe"): the address and ${#secrets[@]} words are nowhere in plain text"
exit $status
