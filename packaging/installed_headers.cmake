# The headers a host needs, worked out when the library is installed (so that a header edited since
# the build was configured is judged as it is now):
#   - every header that declares part of the template library's exported interface (it carries
#     ZORVCAPSULE_EXPORT) in LIBRARY_FOLDERS, the folders that give the library its sources;
#   - HOST_SERVICE_HEADERS, the host-layer services a host calls itself to drive the library;
#   - every header those include, transitively ("path/from/root.h" includes), wherever it lives.
# Everything else stays private. A test-only header reached this way, or an include naming no header
# in the tree, stops the installation: the installed tree must compile on its own.

# zorv_installed_headers(OUT_VAR SOURCE_ROOT dir LIBRARY_FOLDERS dir... HOST_SERVICE_HEADERS header...)
# Sets OUT_VAR to the headers' paths relative to SOURCE_ROOT, sorted.
function(zorv_installed_headers out_var)
  cmake_parse_arguments(ARG "" "SOURCE_ROOT" "LIBRARY_FOLDERS;HOST_SERVICE_HEADERS" ${ARGN})
  set(_root ${ARG_SOURCE_ROOT})

  set(_pending ${ARG_HOST_SERVICE_HEADERS})
  foreach(_folder ${ARG_LIBRARY_FOLDERS})
    file(GLOB _candidates ${_root}/${_folder}/*.h)
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
    list(FIND _headers ${_header} _seen_at)
    if(_seen_at GREATER -1)
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

# zorv_install_headers(DESTINATION dir SOURCE_ROOT dir LIBRARY_FOLDERS ... HOST_SERVICE_HEADERS ...)
# For install(CODE): copies the headers under DESTINATION, keeping their paths from SOURCE_ROOT.
function(zorv_install_headers)
  cmake_parse_arguments(ARG "" "DESTINATION;SOURCE_ROOT" "LIBRARY_FOLDERS;HOST_SERVICE_HEADERS" ${ARGN})
  zorv_installed_headers(_headers SOURCE_ROOT ${ARG_SOURCE_ROOT} LIBRARY_FOLDERS ${ARG_LIBRARY_FOLDERS}
    HOST_SERVICE_HEADERS ${ARG_HOST_SERVICE_HEADERS})
  foreach(_header ${_headers})
    get_filename_component(_folder ${_header} DIRECTORY)
    file(INSTALL ${ARG_SOURCE_ROOT}/${_header} DESTINATION ${ARG_DESTINATION}/${_folder})
  endforeach()
endfunction()
