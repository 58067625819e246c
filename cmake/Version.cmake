# The one place the version number is kept is the top-level VERSION file:
# four numbers from 0 to 65535 ("1.2.3.4"). It becomes jl_version.h in the
# build folder, which the launcher's version information includes, and
# scripts/release names the archive after it.
set(_version_file ${PROJECT_SOURCE_DIR}/VERSION)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_version_file})
file(STRINGS ${_version_file} JL_VERSION LIMIT_COUNT 1)
if(NOT JL_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "VERSION must hold four numbers separated by dots, not \"${JL_VERSION}\"")
endif()
set(JL_VERSION_PARTS ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
foreach(_part ${JL_VERSION_PARTS})
  if(_part GREATER 65535)
    message(FATAL_ERROR "VERSION: ${_part} is above 65535")
  endif()
endforeach()
list(JOIN JL_VERSION_PARTS "," JL_VERSION_COMMAS)
configure_file(${PROJECT_SOURCE_DIR}/res/version.h.in ${PROJECT_BINARY_DIR}/generated/jl_version.h @ONLY)
include_directories(${PROJECT_BINARY_DIR}/generated)
