# Install rules, the CMake package (find_package(zyn) gives zyn::zyn) and pkg-config.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS zyn EXPORT zynTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zyn DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT zynTargets NAMESPACE zyn:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zyn)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zynConfig.cmake.in
  ${CMAKE_BINARY_DIR}/zynConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zyn)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zynConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zynConfig.cmake ${CMAKE_BINARY_DIR}/zynConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zyn)

configure_file(${PROJECT_SOURCE_DIR}/cmake/zyn.pc.in ${CMAKE_BINARY_DIR}/zyn.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zyn.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
