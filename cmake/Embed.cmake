# qm_embed_files(<target> ID <id> FILE <path> [ID <id> FILE <path> ...])
# Compiles the bytes of each file into a static library that defines
# qm::CompiledInFile(int id).
set(QM_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedScript.cmake)

function(qm_embed_files target)
  set(ids)
  set(files)
  set(pairs)
  set(expect_id TRUE)
  foreach(arg IN LISTS ARGN)
    if(arg STREQUAL "ID" OR arg STREQUAL "FILE")
      continue()
    endif()
    if(expect_id)
      set(id ${arg})
      set(expect_id FALSE)
    else()
      get_filename_component(path ${arg} ABSOLUTE)
      list(APPEND files ${path})
      list(APPEND pairs "${id}=${path}")
      set(expect_id TRUE)
    endif()
  endforeach()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp)
  string(REPLACE ";" "|" pair_arg "${pairs}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} "-DPAIRS=${pair_arg}" -DOUTPUT=${out}
            -P ${QM_EMBED_SCRIPT}
    DEPENDS ${files} ${QM_EMBED_SCRIPT}
    COMMENT "Compiling in ${target}"
    VERBATIM)
  add_library(${target} STATIC ${out})
endfunction()
