# The author's home page, opened by the banner and the home page button. The
# program holds it only in disguise: a five-character noise word is inserted
# at several places (once inside a copy of itself) and the click handlers
# take it out again before use, so the address is not one plain string in the
# executable.
set(SONDRELK_HOME_PAGE "" CACHE STRING
    "Web address (http:// or https://) that the banner and the home page button open; empty: they do nothing")

# Made of characters a web address never holds unencoded, so no occurrence
# can form from the address's own characters; and no head of the word is also
# its tail, so copies next to each other never overlap.
set(SONDRELK_NOISE_WORD "{|}^`")

# Sets out_var to the disguised form of address; an empty address stays empty.
# Anything but a plain http:// or https:// address stops the configuration.
function(sondrelk_disguise_address address out_var)
  if(address STREQUAL "")
    set(${out_var} "" PARENT_SCOPE)
    return()
  endif()
  if(NOT address MATCHES "^https?://[A-Za-z0-9._~:/?#@!$&'()*+,=%-]+$")
    message(FATAL_ERROR
      "SONDRELK_HOME_PAGE must be a web address starting with http:// or https://, "
      "made of letters, digits and -._~:/?#@!$&'()*+,=% only (encode anything else "
      "with %); got \"${address}\"")
  endif()
  string(SUBSTRING "${SONDRELK_NOISE_WORD}" 0 3 head)
  string(SUBSTRING "${SONDRELK_NOISE_WORD}" 3 -1 tail)
  set(nested "${head}${SONDRELK_NOISE_WORD}${tail}")
  string(LENGTH "${address}" length)
  set(result "")
  set(at 0)
  set(count 0)
  while(at LESS length)
    string(SUBSTRING "${address}" ${at} 5 piece)
    math(EXPR kind "${count} % 3")
    if(kind EQUAL 1)
      string(APPEND result "${nested}${piece}")
    else()
      string(APPEND result "${SONDRELK_NOISE_WORD}${piece}")
    endif()
    math(EXPR at "${at} + 5")
    math(EXPR count "${count} + 1")
  endwhile()
  set(${out_var} "${result}" PARENT_SCOPE)
endfunction()
