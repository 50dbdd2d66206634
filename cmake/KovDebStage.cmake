# Run by cpack on each package's staged files before it packs them: the steps
# dpkg-buildpackage's helpers take for a Debian package. Man pages are compressed with gzip -9n
# (no name or time stamp, so the package is reproducible), the executables lose the compiler's
# .comment section, and each package gets /usr/share/doc/<package>/copyright and, being a
# native package, changelog.gz.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
file(GLOB stages LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(stage IN LISTS stages)
  if(NOT IS_DIRECTORY "${stage}/usr")
    continue()
  endif()
  get_filename_component(component "${stage}" NAME)
  string(TOUPPER "${component}" component)
  set(package "${CPACK_DEBIAN_${component}_PACKAGE_NAME}")

  file(GLOB pages "${stage}/usr/share/man/man*/*.[1-9]")
  foreach(page IN LISTS pages)
    execute_process(COMMAND gzip -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()

  file(GLOB programs "${stage}/usr/bin/*")
  foreach(program IN LISTS programs)
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()

  set(doc "${stage}/usr/share/doc/${package}")
  file(MAKE_DIRECTORY "${doc}")
  file(COPY_FILE "${CPACK_KOV_COPYRIGHT}" "${doc}/copyright")
  file(COPY_FILE "${CPACK_KOV_CHANGELOG}" "${doc}/changelog")
  execute_process(COMMAND gzip -9nf "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
