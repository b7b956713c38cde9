# The project's version for the Windows builds: a header for the version resources, and a file the
# release scripts read, both under the build folder.
set(ADDINS_VERSION ${PROJECT_VERSION})
# A version such as 1.1 names its patch and tweak 0 in the four numbers Windows shows.
set(ADDINS_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
foreach(part PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    string(APPEND ADDINS_VERSION_QUAD .0)
  else()
    string(APPEND ADDINS_VERSION_QUAD .${PROJECT_VERSION_${part}})
  endif()
endforeach()
string(REPLACE "." ", " ADDINS_VERSION_COMMAS ${ADDINS_VERSION_QUAD})
configure_file(${CMAKE_CURRENT_LIST_DIR}/addins_version.h.in ${ADDINS_GEN_DIR}/addins_version.h @ONLY)
file(WRITE ${CMAKE_BINARY_DIR}/version.txt "${ADDINS_VERSION} ${ADDINS_VERSION_QUAD}\n")
