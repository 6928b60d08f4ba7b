# Windows builds: libcurl is not part of the system, so the build makes its own
# from Debian's curl source package (scripts/build-libcurl-windows.sh, cached
# in the build directory: only the first configure builds it), compiles against
# its headers, and puts the DLL beside zyn.dll in bin/ for the tests and the
# demo. zyn.dll itself never links it: it looks for it at run time.
set(ZYN_LIBCURL_DIR ${CMAKE_BINARY_DIR}/libcurl)
set(_zyn_libcurl_recipe
  ${PROJECT_SOURCE_DIR}/scripts/build-libcurl-windows.sh
  ${PROJECT_SOURCE_DIR}/scripts/check_imports.py
  ${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-common.cmake
  ${CMAKE_TOOLCHAIN_FILE})
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_zyn_libcurl_recipe})
execute_process(
  COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/build-libcurl-windows.sh ${CMAKE_SYSTEM_PROCESSOR} ${ZYN_LIBCURL_DIR}
  RESULT_VARIABLE _zyn_libcurl_result)
if(NOT _zyn_libcurl_result EQUAL 0)
  message(FATAL_ERROR "libcurl for Windows could not be built (see ${ZYN_LIBCURL_DIR}/build.log)")
endif()

# curl's own headers, unless the caller named others (see src/http/link.cmake).
if(NOT ZYN_CURL_INCLUDE_DIR)
  set(ZYN_CURL_INCLUDE_DIR ${ZYN_LIBCURL_DIR}/include)
endif()

set(ZYN_LIBCURL_DLL ${CMAKE_BINARY_DIR}/bin/libcurl.dll)
add_custom_command(OUTPUT ${ZYN_LIBCURL_DLL}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZYN_LIBCURL_DIR}/bin/libcurl.dll ${ZYN_LIBCURL_DLL}
  DEPENDS ${ZYN_LIBCURL_DIR}/bin/libcurl.dll
  COMMENT "Putting libcurl.dll beside zyn.dll")
add_custom_target(zyn_libcurl_dll ALL DEPENDS ${ZYN_LIBCURL_DLL})
