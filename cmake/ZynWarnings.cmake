# Warning set for the project's own targets.
option(ZYN_WARNINGS_AS_ERRORS "Treat the warnings of the project's own targets as errors" OFF)
add_library(zyn_warnings INTERFACE)
target_compile_options(zyn_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # Exports that return std::string from extern "C" are part of the interface.
  target_compile_options(zyn_warnings INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-return-type-c-linkage>)
endif()
if(ZYN_WARNINGS_AS_ERRORS)
  target_compile_options(zyn_warnings INTERFACE -Werror)
endif()
