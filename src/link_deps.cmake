# Platform and third-party libraries behind the backends, as usage requirements
# of zyn_deps. Each subsystem that needs more keeps them in its own
# src/<subsystem>/link.cmake, which adds to zyn_deps.
target_link_libraries(zyn_deps INTERFACE Threads::Threads)
if(WIN32)
  target_link_libraries(zyn_deps INTERFACE kernel32 user32)
else()
  target_link_libraries(zyn_deps INTERFACE ${CMAKE_DL_LIBS})
endif()
foreach(sub IN LISTS ZYN_SUBSYSTEMS)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/link.cmake)
    include(${CMAKE_CURRENT_SOURCE_DIR}/${sub}/link.cmake)
  endif()
endforeach()
