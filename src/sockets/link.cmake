# sockets: Winsock on Windows; the C library on Linux.
if(WIN32)
  target_link_libraries(zyn_deps INTERFACE ws2_32)
endif()
