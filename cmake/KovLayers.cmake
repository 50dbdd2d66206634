# Layers of the core, each its own static library. A layer links only layers added before
# it, and sees its own headers and those of the layers it links, nothing above: each layer's
# include root in the build tree holds one link named after the layer's folder, so
# `#include "app/..."` from a lower layer is not found and the build stops there.
#
#   kovferrit_add_layer(NAME FOLDER SOURCES ... [DEPENDS lower layers ...] [QT Qt components ...])
#
# Each layer traces into its own logging category, kovferrit.FOLDER.

# The source files of `target` trace into the logging category of `folder`: kov::trace takes
# the category KOV_LOG_CATEGORY names, kov::lc<Folder> (declared in foundation/logcategories.h).
function(kovferrit_log_category target folder)
  string(SUBSTRING ${folder} 0 1 first)
  string(TOUPPER ${first} first)
  string(SUBSTRING ${folder} 1 -1 rest)
  target_compile_definitions(${target} PRIVATE KOV_LOG_CATEGORY=lc${first}${rest})
endfunction()

function(kovferrit_add_layer name folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;QT" ${ARGN})
  # Layers are added from the bottom up, so a layer named here that does not exist yet lies
  # above this one.
  foreach(dep IN LISTS ARG_DEPENDS)
    if(NOT TARGET ${dep})
      message(FATAL_ERROR "${name} may only link layers below it, not ${dep}")
    endif()
  endforeach()
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  list(TRANSFORM ARG_SOURCES PREPEND ${folder}/)
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${root})
  list(TRANSFORM ARG_QT PREPEND Qt6::)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} ${ARG_QT} kovferrit_warnings)
  kovferrit_log_category(${name} ${folder})
endfunction()
