# HTTP: libcurl.
# On Linux the library links Debian's libcurl. On Windows nothing is linked:
# the HTTP layer looks for a libcurl DLL when it initialises, so the build
# only needs curl's public headers, which are portable. They are taken from
# the build machine through a directory that holds nothing but curl/, so no
# other system header of the build machine can shadow the MinGW ones.
if(WIN32)
  set(ZYN_CURL_INCLUDE_DIR "" CACHE PATH "Directory that contains curl/curl.h (default: the build machine's)")
  set(_zyn_curl_include ${ZYN_CURL_INCLUDE_DIR})
  if(NOT _zyn_curl_include)
    find_path(_zyn_curl_headers curl/curl.h
      PATHS /usr/include/x86_64-linux-gnu /usr/include/i386-linux-gnu /usr/include /usr/local/include
      NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT _zyn_curl_headers)
      message(FATAL_ERROR "curl/curl.h not found: install libcurl4-openssl-dev or set ZYN_CURL_INCLUDE_DIR")
    endif()
    set(_zyn_curl_only ${CMAKE_BINARY_DIR}/curl-headers)
    file(MAKE_DIRECTORY ${_zyn_curl_only})
    if(NOT EXISTS ${_zyn_curl_only}/curl)
      file(CREATE_LINK ${_zyn_curl_headers}/curl ${_zyn_curl_only}/curl SYMBOLIC)
    endif()
    set(_zyn_curl_include ${_zyn_curl_only})
  endif()
  target_include_directories(zyn_deps SYSTEM INTERFACE ${_zyn_curl_include})
else()
  find_package(CURL REQUIRED)
  target_link_libraries(zyn_deps INTERFACE CURL::libcurl)
endif()
