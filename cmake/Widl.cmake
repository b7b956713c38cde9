# Compiles an .idl with widl into a header, interface identifiers and (optionally) a type library,
# all under ${CMAKE_BINARY_DIR}/gen. Sets <name>_SOURCES to the generated files to compile.
set(ADDINS_GEN_DIR ${CMAKE_BINARY_DIR}/gen)
file(MAKE_DIRECTORY ${ADDINS_GEN_DIR})

function(addins_widl name idl)
  cmake_parse_arguments(ARG "TYPELIB" "" "IMPORT_DIRS" ${ARGN})
  get_filename_component(stem ${idl} NAME_WE)
  get_filename_component(idl_path ${idl} ABSOLUTE)
  set(includes -I /usr/include/wine/wine/windows)
  foreach(dir ${ARG_IMPORT_DIRS})
    list(APPEND includes -I ${dir})
  endforeach()
  set(outputs ${ADDINS_GEN_DIR}/${stem}.h ${ADDINS_GEN_DIR}/${stem}_i.c)
  set(args -h -H ${ADDINS_GEN_DIR}/${stem}.h -u -U ${ADDINS_GEN_DIR}/${stem}_i.c)
  set(stamp "")
  if(ARG_TYPELIB)
    list(APPEND outputs ${ADDINS_GEN_DIR}/${stem}.tlb)
    list(APPEND args -t -T ${ADDINS_GEN_DIR}/${stem}.tlb)
    # widl writes the time it ran into the type library: a fixed one instead, so that the same
    # sources build the same DLL.
    set(stamp COMMAND perl ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/typelib-fixed-time.pl
        ${ADDINS_GEN_DIR}/${stem}.tlb)
  endif()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${ADDINS_WIDL} ${ADDINS_WIDL_FLAGS} ${includes} ${args} ${idl_path}
    ${stamp}
    DEPENDS ${idl_path}
    COMMENT "widl ${stem}.idl"
    VERBATIM)
  set(${name}_SOURCES ${outputs} PARENT_SCOPE)
endfunction()

# An add-in DLL the editor loads: its type library compiled from IDL and embedded, the exports
# every add-in has, its own sources; named as it is shipped, next to the sandbox, linked static
# so that it needs nothing but system DLLs.
function(addins_addin_dll target)
  cmake_parse_arguments(ARG "" "IDL;RC;DEF" "SOURCES;LIBRARIES" ${ARGN})
  get_filename_component(stem ${ARG_IDL} NAME_WE)
  addins_widl(${target}_idl ${ARG_IDL} TYPELIB IMPORT_DIRS ${PROJECT_SOURCE_DIR}/host/win)
  add_library(${target} SHARED
    ${${target}_idl_SOURCES}
    ${PROJECT_SOURCE_DIR}/host/win/server_exports.cpp
    ${ARG_SOURCES} ${ARG_DEF} ${ARG_RC})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} host_win)
  set_source_files_properties(${ARG_RC} PROPERTIES
    OBJECT_DEPENDS "${ADDINS_GEN_DIR}/${stem}.tlb;${ADDINS_GEN_DIR}/addins_version.h")
  target_include_directories(${target} PRIVATE ${ADDINS_GEN_DIR})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  # Stripped in Release: what ships carries no symbols.
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
endfunction()
