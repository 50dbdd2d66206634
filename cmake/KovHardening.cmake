# Debian's hardening flags (fortified glibc calls, stack protector, format checks, full RELRO
# with BIND_NOW) for every target, as dpkg-buildflags states them for hardening=+all, so the
# binaries in the packages carry what lintian looks for. The optimisation and debug flags
# dpkg-buildflags adds are left to the build type, and its file prefix map is dropped: it names
# the folder dpkg-buildflags ran in. _FORTIFY_SOURCE needs an optimised build, and the
# sanitizers check what it checks, so Debug and KOV_SANITIZE builds go without it.
option(KOV_HARDEN "Build with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(KOV_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT KOV_HARDEN OR KOV_SANITIZE OR NOT KOV_DPKG_BUILDFLAGS)
  return()
endif()

function(kov_buildflags out name)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${KOV_DPKG_BUILDFLAGS} --get ${name}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(g|O|ffile-prefix-map=|fdebug-prefix-map=)")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

kov_buildflags(kov_cppflags CPPFLAGS)
kov_buildflags(kov_cxxflags CXXFLAGS)
kov_buildflags(kov_ldflags LDFLAGS)
foreach(flag IN LISTS kov_cppflags kov_cxxflags)
  if(flag MATCHES "^-D_FORTIFY_SOURCE")
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
  else()
    add_compile_options(${flag})
  endif()
endforeach()
add_link_options(${kov_ldflags})
list(JOIN kov_cppflags " " shown)
string(APPEND shown " ${kov_cxxflags} ${kov_ldflags}")
string(REPLACE ";" " " shown "${shown}")
message(STATUS "Hardening flags: ${shown}")
