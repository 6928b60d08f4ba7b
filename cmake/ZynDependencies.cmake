# Third-party dependencies, found the same way for every preset.
find_package(Threads REQUIRED)

# GoogleTest: Debian's packaged build on Linux; built from Debian's sources for MinGW.
function(zyn_find_gtest)
  if(NOT ZYN_TESTS)
    return()
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)
    # GoogleTest's own build defines the GTest:: aliases.
  else()
    find_package(GTest REQUIRED)
  endif()
endfunction()
zyn_find_gtest()
