# Run by CPack on the package's files before it packs them: Debian puts the
# commands of games in /usr/games, so the launcher moves there from bin/,
# still a relative link to the program beside its help.
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(old_link "${root}/${CPACK_KESTRUNE_BINDIR}/kestrune")
if(NOT IS_SYMLINK "${old_link}")
  message(FATAL_ERROR "the package has no launcher at ${old_link}")
endif()
file(RELATIVE_PATH target /prefix/games /prefix/${CPACK_KESTRUNE_PRIVATEDIR}/kestrune)
file(MAKE_DIRECTORY "${root}/games")
file(CREATE_LINK "${target}" "${root}/games/kestrune" SYMBOLIC)
file(REMOVE "${old_link}")
# Leave no empty bin/ behind.
file(GLOB left "${root}/${CPACK_KESTRUNE_BINDIR}/*")
if(NOT left)
  file(REMOVE_RECURSE "${root}/${CPACK_KESTRUNE_BINDIR}")
endif()

# Stripped as Debian's own tools strip, without the compiler's notes either.
if(CPACK_KESTRUNE_STRIP)
  execute_process(
    COMMAND "${CPACK_KESTRUNE_STRIP}" --remove-section=.comment --remove-section=.note
            "${root}/${CPACK_KESTRUNE_PRIVATEDIR}/kestrune"
    COMMAND_ERROR_IS_FATAL ANY)
endif()
