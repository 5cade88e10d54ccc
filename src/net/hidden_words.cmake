# Writes the header that keeps the protocol words and the default server
# address in setup.exe, scrambled so that none of them can be read in the
# file.  Run as a build step:
#   cmake -DWORDS=<protocol_words.txt> -DADDRESS=<https://...> -DKEY=<0..255>
#         -DOUTPUT=<hidden_words.h> -P hidden_words.cmake
#
# A character c at position i is stored as s[i] = ((c XOR KEY) + 1) XOR s[i-1],
# with s[-1] = 0; net/hidden_text.cpp turns the bytes back.

function(scramble_text text out)
  string(HEX "${text}" hex)
  string(LENGTH "${hex}" hex_length)
  set(previous 0)
  set(bytes "")
  set(at 0)
  while(at LESS hex_length)
    string(SUBSTRING "${hex}" ${at} 2 pair)
    math(EXPR plain "0x${pair}")
    math(EXPR stored "(((${plain} ^ ${KEY}) + 1) & 255) ^ ${previous}")
    list(APPEND bytes "${stored}")
    set(previous ${stored})
    math(EXPR at "${at} + 2")
  endwhile()
  list(JOIN bytes ", " joined)
  set(${out} "${joined}" PARENT_SCOPE)
endfunction()

if(NOT ADDRESS MATCHES "^https://[^/ ]+")
  message(FATAL_ERROR "hidden_words.cmake: the default server address must be an https:// address: '${ADDRESS}'")
endif()

file(STRINGS "${WORDS}" lines)
set(names "")
set(arrays "")
foreach(line ${lines})
  if(line MATCHES "^[ \t]*(#|$)")
    continue()
  endif()
  if(NOT line MATCHES "^([A-Z][A-Z0-9_]*)=([!-~]+)$")
    message(FATAL_ERROR "${WORDS}: not a NAME=value line: '${line}'")
  endif()
  set(name "${CMAKE_MATCH_1}")
  scramble_text("${CMAKE_MATCH_2}" bytes)
  string(APPEND arrays "inline constexpr std::uint8_t ${name}[] = {${bytes}};\n")
  list(APPEND names "X(${name})")
endforeach()
scramble_text("${ADDRESS}" address_bytes)
list(JOIN names " " name_list)

file(WRITE "${OUTPUT}.new"
"// Generated from src/net/protocol_words.txt and the maker's default server
// address by src/net/hidden_words.cmake; do not edit.
#pragma once

#include <cstdint>

namespace hidden_words {

inline constexpr std::uint8_t kKey = ${KEY};

${arrays}
inline constexpr std::uint8_t DEFAULT_ADDRESS[] = {${address_bytes}};

}  // namespace hidden_words

// Every word of the list, for the tests that compare them with the list.
#define BRANTEL_HIDDEN_WORDS(X) ${name_list}
")
# Rewritten only when it changed, so that an unchanged list rebuilds nothing.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
