# The gallery page of `capsule gallery`: its files are compiled into the tool, and the page is
# tested in a real browser.

set(_gallery_dir ${CMAKE_CURRENT_SOURCE_DIR}/gallery)
set(_gallery_files ${_gallery_dir}/index.html ${_gallery_dir}/gallery.css ${_gallery_dir}/gallery.js
  ${_gallery_dir}/icon.svg)
set(_gallery_header ${CMAKE_BINARY_DIR}/generated/tools/gallery_assets.h)
string(REPLACE ";" "|" _gallery_list "${_gallery_files}")
add_custom_command(
  OUTPUT ${_gallery_header}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${_gallery_header} "-DFILES=${_gallery_list}"
    -P ${_gallery_dir}/embed_assets.cmake
  DEPENDS ${_gallery_files} ${_gallery_dir}/embed_assets.cmake
  COMMENT "Embedding the gallery page"
  VERBATIM)
target_sources(capsule PRIVATE ${_gallery_header})
target_include_directories(capsule PRIVATE ${CMAKE_BINARY_DIR}/generated)

# The browser test drives the distribution's Chromium over its DevTools protocol. It is left out of
# the sanitizer builds: it tests the page, and the tool it runs is tested there by tools_tests.
if(NOT ZORV_SANITIZE)
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_FOUND)
    add_test(NAME gallery_browser_test
      COMMAND ${Python3_EXECUTABLE} ${_gallery_dir}/gallery_browser_test.py
        --capsule $<TARGET_FILE:capsule> --work ${CMAKE_CURRENT_BINARY_DIR}/gallery-test
        --screenshot ${CMAKE_BINARY_DIR}/gallery-screenshot.png)
    set_tests_properties(gallery_browser_test PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 LABELS browser)
  endif()
endif()
