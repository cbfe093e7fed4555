# Run by CPack after it has installed the project into its staging folder and
# before it packs the Debian package: turns the layout of `cmake --install`
# into the one Debian's policy asks of a game.
#   - the program goes to /usr/games;
#   - the manual pages are compressed;
#   - the program loses the compiler's .comment section, as dh_strip does;
#   - /usr/share/doc/plitar holds the copyright file, which carries both
#     licence texts, and the Debian changelog, instead of the two licence files;
#   - lintian's overrides, each with its reason, go where lintian reads them.
# Compressed with `gzip -9n`: no name and no time in the header, so the same
# sources give the same bytes.
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(debian ${CPACK_PLITAR_DEBIAN_DIR})
set(doc ${root}/share/doc/${CPACK_PACKAGE_NAME})

function(gzip_to from to)
  execute_process(COMMAND gzip -9n -c ${from} OUTPUT_FILE ${to} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${from}")
  endif()
  file(CHMOD ${to} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

# The version of the package must be the changelog's newest entry.
file(STRINGS ${debian}/changelog top LIMIT_COUNT 1)
set(version ${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
if(NOT top MATCHES "^${CPACK_PACKAGE_NAME} \\(${version}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog has no entry for ${version} at its top: '${top}'")
endif()

if(NOT EXISTS ${root}/bin/plitar)
  message(FATAL_ERROR "the staged package has no bin/plitar to move to games/")
endif()
file(MAKE_DIRECTORY ${root}/games)
file(RENAME ${root}/bin/plitar ${root}/games/plitar)
file(GLOB left ${root}/bin/*)
if(left)
  message(FATAL_ERROR "bin/ of the staged package holds more than the game: ${left}")
endif()
file(REMOVE_RECURSE ${root}/bin)
execute_process(COMMAND ${CPACK_PLITAR_OBJCOPY} --remove-section=.comment ${root}/games/plitar
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objcopy could not remove .comment from the program")
endif()

file(GLOB_RECURSE pages ${root}/share/man/*.6)
if(NOT pages)
  message(FATAL_ERROR "the staged package has no manual page")
endif()
foreach(page ${pages})
  gzip_to(${page} ${page}.gz)
  file(REMOVE ${page})
endforeach()

file(REMOVE ${doc}/LICENSE ${doc}/LICENSE.glyphs)
file(COPY_FILE ${debian}/copyright ${doc}/copyright)
file(CHMOD ${doc}/copyright PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
gzip_to(${debian}/changelog ${doc}/changelog.Debian.gz)

set(overrides ${root}/share/lintian/overrides)
file(MAKE_DIRECTORY ${overrides})
file(COPY_FILE ${debian}/lintian-overrides ${overrides}/${CPACK_PACKAGE_NAME})
file(CHMOD ${overrides}/${CPACK_PACKAGE_NAME} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
