# Media keys on X11: the headers of libxcb and of the XF86 keysyms. Nothing is
# linked; the capture opens libxcb at run time.
if(NOT WIN32)
  find_path(ZYN_XCB_INCLUDE_DIR xcb/xcb.h)
  find_path(ZYN_XF86KEYSYM_INCLUDE_DIR X11/XF86keysym.h)
  if(NOT ZYN_XCB_INCLUDE_DIR OR NOT ZYN_XF86KEYSYM_INCLUDE_DIR)
    message(FATAL_ERROR "xcb/xcb.h or X11/XF86keysym.h not found: install libxcb1-dev and x11proto-dev")
  endif()
  target_include_directories(zyn_deps SYSTEM INTERFACE ${ZYN_XCB_INCLUDE_DIR} ${ZYN_XF86KEYSYM_INCLUDE_DIR})
endif()
