cmake_minimum_required(VERSION 3.25)
# Generates the string table's forms from resources/strings.txt:
#   cmake -DINPUT=strings.txt -DOUTPUT_DIR=dir -DVERSION=x.y -P StringTableScript.cmake
# writes, in OUTPUT_DIR,
#   string_table_entries.inc  C++ initialisers {IDS_NAME, u"text"},
#   strings.rc                the STRINGTABLE of the Windows module
#   dialog_texts.h            #define TEXT_IDS_NAME "text" for dialog templates
# and stops with an error naming the line when a line is malformed.
file(READ "${INPUT}" content)
# CMake lists split at ";": carry semicolons through as a token.
string(REPLACE ";" "@QM_SEMICOLON@" content "${content}")
string(REPLACE "\r" "" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

set(cpp "// Generated from resources/strings.txt; edit that file.\n")
set(rc "// Generated from resources/strings.txt; edit that file.\n#include \"resource_ids.h\"\n\nSTRINGTABLE\nBEGIN\n")
set(texts "/* Generated from resources/strings.txt; edit that file. */\n")
set(line_number 0)
set(seen)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^(IDS_[A-Z0-9_]+)\t(.+)$")
    message(FATAL_ERROR "${INPUT}:${line_number}: expected IDS_NAME, a tab and the text")
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(text "${CMAKE_MATCH_2}")
  if(name IN_LIST seen)
    message(FATAL_ERROR "${INPUT}:${line_number}: ${name} is given twice")
  endif()
  list(APPEND seen ${name})
  string(REPLACE "@QM_SEMICOLON@" ";" text "${text}")
  string(REPLACE "@PROJECT_VERSION@" "${VERSION}" text "${text}")
  if(NOT text MATCHES "^[ -~]+$")
    message(FATAL_ERROR "${INPUT}:${line_number}: ${name}: texts are plain ASCII without tabs")
  endif()
  # "\n" is the only escape; any other backslash is a mistake.
  string(REPLACE "\\n" "" without_breaks "${text}")
  if(without_breaks MATCHES "\\\\")
    message(FATAL_ERROR "${INPUT}:${line_number}: ${name}: \\n is the only escape")
  endif()
  string(REPLACE "\"" "\\\"" cpp_text "${text}")
  string(REPLACE "\"" "\"\"" rc_text "${text}")
  string(APPEND cpp "    {${name}, u\"${cpp_text}\"},\n")
  string(APPEND rc "  ${name}, \"${rc_text}\"\n")
  string(APPEND texts "#define TEXT_${name} \"${rc_text}\"\n")
endforeach()
string(APPEND rc "END\n")

# Rewrite only what changed, so an unchanged table rebuilds nothing.
foreach(pair "string_table_entries.inc|cpp" "strings.rc|rc" "dialog_texts.h|texts")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 file)
  list(GET pair 1 var)
  set(old "")
  if(EXISTS "${OUTPUT_DIR}/${file}")
    file(READ "${OUTPUT_DIR}/${file}" old)
  endif()
  if(NOT old STREQUAL "${${var}}")
    file(WRITE "${OUTPUT_DIR}/${file}" "${${var}}")
  endif()
endforeach()
