# Installs headers (folders kept under include/tessiv/), the libraries and
# the CMake package config, so hosts write find_package(Tessiv CONFIG REQUIRED).
include_guard(GLOBAL)
include(CMakePackageConfigHelpers)

set(TESSIV_HEADER_FOLDERS core platform render view scene imaging shell siblings)
# Headers private to one library's sources (handle tables, the display
# backends behind their seam, wire helpers, codec internals) stay out of the
# install.
set(TESSIV_INTERNAL_HEADERS stream_wire.h image_codec.h win_objects.h handle_maps.h backend
                            mesh_io_detail.h resource_format.h)
set(internal_patterns "")
foreach(header IN LISTS TESSIV_INTERNAL_HEADERS)
  list(APPEND internal_patterns PATTERN ${header} EXCLUDE)
endforeach()
foreach(folder IN LISTS TESSIV_HEADER_FOLDERS)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tessiv/${folder}
          FILES_MATCHING PATTERN "*.h" ${internal_patterns})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/kolt.h ${PROJECT_SOURCE_DIR}/tessiv.h
              ${TESSIV_GENERATED_ROOT}/tessiv/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tessiv)

get_property(libraries GLOBAL PROPERTY TESSIV_LIBRARIES)
install(TARGETS tessiv_headers ${libraries} tessiv_rc EXPORT TessivTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Packages whose targets the libraries link publicly (find_package names),
# collected with set_property(GLOBAL APPEND PROPERTY TESSIV_PUBLIC_DEPENDENCIES ...).
get_property(TESSIV_PUBLIC_DEPENDENCIES GLOBAL PROPERTY TESSIV_PUBLIC_DEPENDENCIES)
set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Tessiv)
install(EXPORT TessivTargets NAMESPACE Tessiv:: DESTINATION ${config_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TessivConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TessivConfig.cmake INSTALL_DESTINATION ${config_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TessivConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TessivConfig.cmake
              ${PROJECT_BINARY_DIR}/TessivConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/TessivResources.cmake
        DESTINATION ${config_dir})
