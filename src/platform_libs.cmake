# Libraries the backends of this platform link against. Families add theirs here.
if(WIN32)
  target_link_libraries(zyn PRIVATE kernel32 user32)
else()
  target_link_libraries(zyn PRIVATE ${CMAKE_DL_LIBS})
endif()
