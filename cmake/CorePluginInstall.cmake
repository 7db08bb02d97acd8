# The install tree: bin/corehost, lib/ with the platform libraries and the plug-in module, the SDK
# headers, a CMake package and a pkg-config file for plug-in writers, the documentation, the man
# page and the example catalogs. Every path in it is relative, so the tree runs and builds
# wherever it is moved.
include(CMakePackageConfigHelpers)

set(COREPLUGIN_SDK_INCLUDE_DIR include/CorePluginSDK)
set(COREPLUGIN_CMAKE_DIR lib/cmake/CorePluginSDK)

set_target_properties(sdk PROPERTIES EXPORT_NAME headers)
install(TARGETS sdk EXPORT CorePluginSDKTargets)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/sdk/ DESTINATION ${COREPLUGIN_SDK_INCLUDE_DIR}
        FILES_MATCHING PATTERN "*.h")
install(EXPORT CorePluginSDKTargets NAMESPACE CorePluginSDK:: DESTINATION ${COREPLUGIN_CMAKE_DIR})

file(WRITE ${PROJECT_BINARY_DIR}/CorePluginSDKConfig.cmake.in [[
# find_package(CorePluginSDK): the headers and platform libraries a plug-in builds against,
# as the imported targets CorePluginSDK::headers, ::plugin, ::base and ::tracing.
@PACKAGE_INIT@
include("${CMAKE_CURRENT_LIST_DIR}/CorePluginSDKTargets.cmake")
check_required_components(CorePluginSDK)
]])
configure_package_config_file(${PROJECT_BINARY_DIR}/CorePluginSDKConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/CorePluginSDKConfig.cmake
                              INSTALL_DESTINATION ${COREPLUGIN_CMAKE_DIR})
# The version file also refuses an SDK built for another pointer size (ILP32 against 64-bit).
write_basic_package_version_file(${PROJECT_BINARY_DIR}/CorePluginSDKConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/CorePluginSDKConfig.cmake
              ${PROJECT_BINARY_DIR}/CorePluginSDKConfigVersion.cmake
        DESTINATION ${COREPLUGIN_CMAKE_DIR})

# pkg-config finds the tree from where the file lies, like the CMake package.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/corepluginsdk.pc @ONLY CONTENT [[
prefix=${pcfiledir}/../..
includedir=${prefix}/@COREPLUGIN_SDK_INCLUDE_DIR@
libdir=${prefix}/lib

Name: CorePluginSDK
Description: Headers and platform libraries for writing plug-ins that corehost loads
Version: @PROJECT_VERSION@
Cflags: -I${includedir}
Libs: -L${libdir} -lplugin -ltracing -lbase
]])
install(FILES ${PROJECT_BINARY_DIR}/corepluginsdk.pc DESTINATION lib/pkgconfig)

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/coreplugin)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION share/doc/coreplugin
        FILES_MATCHING PATTERN "*.md")
install(FILES ${PROJECT_SOURCE_DIR}/docs/corehost.1 DESTINATION share/man/man1)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION share/coreplugin/examples
        PATTERN "build*" EXCLUDE)
