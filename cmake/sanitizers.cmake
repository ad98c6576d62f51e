# Sanitizer builds live in their own build folders (see scripts/test); a report ends the test run.
if(ZORV_SANITIZE STREQUAL "address")
  set(_zorv_san_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
elseif(ZORV_SANITIZE STREQUAL "thread")
  set(_zorv_san_flags -fsanitize=thread -fno-omit-frame-pointer)
  # Boost.Asio uses standalone fences, which ThreadSanitizer cannot model; GCC warns on each use.
  add_compile_options(-Wno-tsan)
elseif(NOT ZORV_SANITIZE STREQUAL "")
  message(FATAL_ERROR "ZORV_SANITIZE must be empty, address or thread, not '${ZORV_SANITIZE}'")
endif()
if(_zorv_san_flags)
  add_compile_options(${_zorv_san_flags})
  add_link_options(${_zorv_san_flags})
endif()

# With the libFuzzer targets on (clang only), the whole sanitizer build carries libFuzzer's coverage
# instrumentation, so that the fuzzers are guided through the libraries they call rather than only
# through their own code. Without a fuzzer linked in, the sanitizer runtime ignores it.
if(ZORV_SANITIZE STREQUAL "address" AND ZORV_BUILD_FUZZERS AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
