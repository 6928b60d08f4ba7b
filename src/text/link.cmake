# UTF8-CPP (header only) is the reference the UTF-8 fuzzer holds the Latin-1
# conversions to, byte for byte. Its directory holds nothing but its own
# headers, so the cross builds may search it too.
find_path(ZYN_UTF8CPP_DIR utf8.h
  PATHS /usr/include/utf8cpp /usr/local/include/utf8cpp
  NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT ZYN_UTF8CPP_DIR)
  message(FATAL_ERROR "UTF8-CPP not found: install libutfcpp-dev")
endif()
target_include_directories(zyn_deps SYSTEM INTERFACE ${ZYN_UTF8CPP_DIR})
