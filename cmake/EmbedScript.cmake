# Run with -DPAIRS="id=path|id=path" -DOUTPUT=file.cpp
string(REPLACE "|" ";" pairs "${PAIRS}")
set(body "")
set(cases "")
foreach(pair IN LISTS pairs)
  string(FIND "${pair}" "=" eq)
  string(SUBSTRING "${pair}" 0 ${eq} id)
  math(EXPR start "${eq} + 1")
  string(SUBSTRING "${pair}" ${start} -1 path)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " bytes "${bytes}")
  string(APPEND body "const char kFile${id}[${size} + 1] = {\n    ${bytes}0};\n")
  string(APPEND cases "    case ${id}: return std::string_view(kFile${id}, ${size});\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated at build time; do not edit.
#include <string_view>

namespace qm {
namespace {
${body}}  // namespace

std::string_view CompiledInFile(int id) {
  switch (id) {
${cases}    default: return {};
  }
}

}  // namespace qm
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
