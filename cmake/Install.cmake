# cmake --install: the header, both libraries, the tool, a pkg-config file and
# a CMake package (find_package(fwprobe) gives fwprobe::fwprobe).
include(CMakePackageConfigHelpers)

set(FWPROBE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/fwprobe)

install(TARGETS fwprobe pmemw EXPORT fwprobeTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(TARGET fwprobe_cli)
  install(TARGETS fwprobe_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(EXPORT fwprobeTargets NAMESPACE fwprobe:: DESTINATION ${FWPROBE_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/fwprobeConfig.cmake.in
  ${PROJECT_BINARY_DIR}/fwprobeConfig.cmake INSTALL_DESTINATION ${FWPROBE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/fwprobeConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/fwprobeConfig.cmake ${PROJECT_BINARY_DIR}/fwprobeConfigVersion.cmake
  DESTINATION ${FWPROBE_CMAKE_DIR})

configure_file(${PROJECT_SOURCE_DIR}/cmake/fwprobe.pc.in ${PROJECT_BINARY_DIR}/fwprobe.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/fwprobe.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
