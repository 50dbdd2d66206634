# One INTERFACE target carries the language standard, the warning flags and project-wide
# defines; every target of the project links it, so the rules live in one place.
add_library(kovferrit_warnings INTERFACE)
target_compile_features(kovferrit_warnings INTERFACE cxx_std_17)
target_compile_options(kovferrit_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor)
target_compile_definitions(kovferrit_warnings INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_URL_CAST_FROM_STRING
  KOVFERRIT_VERSION="${PROJECT_VERSION}"
  KOVFERRIT_DEFAULT_HOST="${KOVFERRIT_DEFAULT_HOST}")
if(KOV_WERROR)
  target_compile_options(kovferrit_warnings INTERFACE -Werror)
endif()
if(KOV_SANITIZE)
  target_compile_options(kovferrit_warnings INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(kovferrit_warnings INTERFACE -fsanitize=address,undefined)
endif()
