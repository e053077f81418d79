# kestrune_embed_resources(<target> <name>=<file> ...)
# Compiles the named files into <target> as a static library whose table
# FindEmbeddedResource() (platform/EmbeddedResource.h) searches by name.
# The bytes are regenerated whenever a file changes, so generated files
# (the pictures) can be embedded too.
function(kestrune_embed_resources target)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_data.cpp")
  set(args "")
  set(deps "")
  foreach(entry IN LISTS ARGN)
    string(REPLACE "=" ";" pair "${entry}")
    list(GET pair 1 file)
    list(APPEND deps "${file}")
    list(APPEND args "${entry}")
  endforeach()
  string(REPLACE ";" "|" joined "${args}")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${out}" "-DENTRIES=${joined}"
            -P "${PROJECT_SOURCE_DIR}/cmake/embed.cmake"
    DEPENDS ${deps} "${PROJECT_SOURCE_DIR}/cmake/embed.cmake"
    COMMENT "Embedding resources into ${target}"
    VERBATIM)
  # The lookup goes with the table it searches, so it links wherever the table does.
  add_library(${target} STATIC "${out}" "${PROJECT_SOURCE_DIR}/platform/EmbeddedResource.cpp")
  target_link_libraries(${target} PUBLIC kestrune_platform)
endfunction()
