# Libraries behind machine properties, processes, registry, controllers and dialogs.
if(WIN32)
  # COM and WMI, the shell's dialog, the administrator test, XInput 9.1.0 (linked directly).
  target_link_libraries(zyn_deps INTERFACE ole32 oleaut32 wbemuuid uuid shell32 advapi32 xinput9_1_0)
else()
  # SDL2's game-controller interface.
  find_package(SDL2 CONFIG QUIET)
  if(TARGET SDL2::SDL2)
    target_link_libraries(zyn_deps INTERFACE SDL2::SDL2)
  else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(ZYN_SDL2 REQUIRED IMPORTED_TARGET sdl2)
    target_link_libraries(zyn_deps INTERFACE PkgConfig::ZYN_SDL2)
  endif()
endif()
