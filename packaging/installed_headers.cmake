# zorv_installed_headers(OUT_VAR LIBRARY_TARGETS target... HOST_SERVICE_HEADERS header...)
#
# The headers a host needs, as paths relative to the source root:
#   - every header that declares part of the template library's exported interface (it carries
#     ZORVCAPSULE_EXPORT), found in every folder that gives sources to LIBRARY_TARGETS, so a new
#     library folder is covered without a change here;
#   - HOST_SERVICE_HEADERS, the host-layer services a host calls itself to drive the library;
#   - every header those include, transitively ("path/from/root.h" includes), wherever it lives.
# Everything else stays private. A test-only header reached this way, or an include naming no header
# in the tree, stops the configure step: the installed tree must compile on its own.
function(zorv_installed_headers out_var)
  cmake_parse_arguments(ARG "" "" "LIBRARY_TARGETS;HOST_SERVICE_HEADERS" ${ARGN})
  set(_root ${PROJECT_SOURCE_DIR})

  set(_folders "")
  foreach(_target ${ARG_LIBRARY_TARGETS})
    get_target_property(_sources ${_target} SOURCES)
    foreach(_source ${_sources})
      get_filename_component(_folder ${_source} DIRECTORY)
      list(APPEND _folders ${_folder})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES _folders)

  set(_pending ${ARG_HOST_SERVICE_HEADERS})
  foreach(_folder ${_folders})
    file(GLOB _candidates ${_folder}/*.h)
    foreach(_header ${_candidates})
      file(STRINGS ${_header} _marks REGEX "ZORVCAPSULE_EXPORT" LIMIT_COUNT 1)
      if(_marks)
        file(RELATIVE_PATH _relative ${_root} ${_header})
        list(APPEND _pending ${_relative})
      endif()
    endforeach()
  endforeach()

  set(_headers "")
  while(_pending)
    list(POP_FRONT _pending _header)
    if(_header IN_LIST _headers)
      continue()
    endif()
    if(NOT EXISTS ${_root}/${_header})
      message(FATAL_ERROR "Installed headers: '${_header}' is no header of this tree")
    endif()
    get_filename_component(_name ${_header} NAME)
    if(_name MATCHES "(^|_)test(_|\\.)")
      message(FATAL_ERROR "Installed headers: the test-only header '${_header}' is reached from the "
                          "exported interface")
    endif()
    list(APPEND _headers ${_header})
    file(STRINGS ${_root}/${_header} _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(_line ${_includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" _included "${_line}")
      list(APPEND _pending ${_included})
    endforeach()
  endwhile()
  list(SORT _headers)
  set(${out_var} ${_headers} PARENT_SCOPE)
endfunction()
