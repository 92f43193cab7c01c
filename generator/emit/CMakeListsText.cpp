#include "generator/emit/CMakeListsText.h"

#include "generator/emit/TextBuffer.h"
#include "generator/model/ProjectRecord.h"

#include <string>

namespace {

// "@P@" stands for the project's name. The lines end in a line feed alone,
// as CMake's own files do.
const char* const Template = R"(# Builds the library and the demo of the project @P@ with CMake, as the
# Makefile beside it does with make:
#   cmake -S . -B build && cmake --build build
# and installs the library with its header, the support library with its
# headers, a pkg-config file for each and the package for find_package(@P@_api):
#   cmake --install build --prefix DIR
cmake_minimum_required(VERSION 3.13)
project(@P@ C)

set(CMAKE_C_STANDARD 99)
set(CMAKE_C_EXTENSIONS ON)

# A project for Windows carries its own static libxml2.
set(_project_xml2 "${CMAKE_CURRENT_SOURCE_DIR}/libxml2")
if(WIN32 AND EXISTS "${_project_xml2}/lib/libxml2.a")
  set(LIBXML2_INCLUDE_DIR "${_project_xml2}/include" CACHE PATH "libxml2's headers")
  set(LIBXML2_LIBRARY "${_project_xml2}/lib/libxml2.a" CACHE FILEPATH "libxml2")
endif()
find_package(LibXml2 REQUIRED)

# The support library, from the sources the project carries.
file(GLOB _tessaro_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/lib/src/*.c")
add_library(tessaro STATIC ${_tessaro_sources})
target_include_directories(tessaro PUBLIC "$<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/lib/include>"
  "$<INSTALL_INTERFACE:include/tessaro>")
# https, the Digest hashes and WS-Security's signatures go through the system's
# TLS and crypto on Windows and OpenSSL elsewhere; WS-Security reads messages
# with libxml2.
target_link_libraries(tessaro PUBLIC LibXml2::LibXml2)
if(WIN32 AND LIBXML2_LIBRARY MATCHES "\\.a$")
  target_compile_definitions(tessaro PUBLIC LIBXML_STATIC)
endif()
if(WIN32)
  target_link_libraries(tessaro PUBLIC ws2_32 secur32 crypt32 bcrypt)
else()
  find_package(OpenSSL REQUIRED)
  find_package(Threads REQUIRED)
  target_link_libraries(tessaro PUBLIC OpenSSL::SSL OpenSSL::Crypto Threads::Threads)
endif()

add_library(@P@_api @P@_api.c)
target_include_directories(@P@_api PUBLIC "$<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}>" "$<INSTALL_INTERFACE:include>")
target_link_libraries(@P@_api PUBLIC tessaro LibXml2::LibXml2)

add_executable(@P@_demo @P@_api_demo.c)
target_link_libraries(@P@_demo PRIVATE @P@_api)
# With mingw-w64 the compiler's run-times (libgcc, the threads library) are
# linked in, so that the demo starts with no DLL beside it.
if(MINGW)
  target_link_options(@P@_demo PRIVATE -static)
endif()

add_executable(@P@_server @P@_server.c)
target_link_libraries(@P@_server PRIVATE @P@_api)
if(MINGW)
  target_link_options(@P@_server PRIVATE -static)
endif()

# Installed as make install lays them out. The package files find what the
# libraries link as the build did; a project for Windows installs its libxml2.
install(FILES @P@_api.h DESTINATION include)
file(GLOB _tessaro_headers "${CMAKE_CURRENT_SOURCE_DIR}/lib/include/*.h")
install(FILES ${_tessaro_headers} DESTINATION include/tessaro)
install(TARGETS tessaro EXPORT tessaroTargets ARCHIVE DESTINATION lib)
install(TARGETS @P@_api EXPORT @P@_apiTargets ARCHIVE DESTINATION lib)
install(EXPORT tessaroTargets NAMESPACE tessaro:: DESTINATION lib/cmake/tessaro)
install(EXPORT @P@_apiTargets NAMESPACE @P@_api:: DESTINATION lib/cmake/@P@_api)
set(_tessaro_pc_requires "libxml-2.0 openssl")
set(_tessaro_pc_libs "-ltessaro -lpthread")
set(_tessaro_pc_cflags "-I\${includedir}/tessaro")
if(WIN32 AND LIBXML2_LIBRARY MATCHES "\\.a$")
  install(DIRECTORY "${LIBXML2_INCLUDE_DIR}/libxml" DESTINATION include/libxml2)
  install(FILES "${LIBXML2_LIBRARY}" DESTINATION lib)
endif()
if(WIN32)
  set(_tessaro_pc_requires "")
  set(_tessaro_pc_libs "-ltessaro -lxml2 -lws2_32 -lsecur32 -lcrypt32 -lbcrypt")
  set(_tessaro_pc_cflags "-I\${includedir}/tessaro -I\${includedir}/libxml2 -DLIBXML_STATIC")
endif()
set(_pc_head "prefix=\${pcfiledir}/../..\nincludedir=\${prefix}/include\nlibdir=\${prefix}/lib\n\n")
string(CONFIGURE "${_pc_head}Name: tessaro\nDescription: SOAP support library of Kelvane projects\nVersion: 1.0
Requires: @_tessaro_pc_requires@\nLibs: -L\${libdir} @_tessaro_pc_libs@\nCflags: @_tessaro_pc_cflags@\n" _pc @ONLY)
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/tessaro.pc" "${_pc}")
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/@P@_api.pc" "${_pc_head}Name: @P@_api
Description: SOAP client and server library @P@_api\nVersion: 1.0\nRequires: tessaro
Libs: -L\${libdir} -l@P@_api\nCflags: -I\${includedir}\n")
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/tessaroConfig.cmake" [=[
include(CMakeFindDependencyMacro)
get_filename_component(_tessaro_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(WIN32 AND EXISTS "${_tessaro_prefix}/lib/libxml2.a")
  set(LIBXML2_INCLUDE_DIR "${_tessaro_prefix}/include/libxml2" CACHE PATH "libxml2's headers")
  set(LIBXML2_LIBRARY "${_tessaro_prefix}/lib/libxml2.a" CACHE FILEPATH "libxml2")
endif()
find_dependency(LibXml2)
if(NOT WIN32)
  find_dependency(OpenSSL)
  find_dependency(Threads)
endif()
include("${CMAKE_CURRENT_LIST_DIR}/tessaroTargets.cmake")
]=])
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/@P@_apiConfig.cmake" [=[
include(CMakeFindDependencyMacro)
find_dependency(tessaro PATHS "${CMAKE_CURRENT_LIST_DIR}/../tessaro" NO_DEFAULT_PATH)
include("${CMAKE_CURRENT_LIST_DIR}/@P@_apiTargets.cmake")
]=])
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/tessaro.pc" "${CMAKE_CURRENT_BINARY_DIR}/@P@_api.pc" DESTINATION lib/pkgconfig)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/tessaroConfig.cmake" DESTINATION lib/cmake/tessaro)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/@P@_apiConfig.cmake" DESTINATION lib/cmake/@P@_api)
)";

}  // namespace

void writeCMakeLists(const CProjectRecord& project, CTextBuffer& text)
{
    std::string lines = Template;
    const std::string placeholder = "@P@";
    for (std::size_t at = lines.find(placeholder); at != std::string::npos; at = lines.find(placeholder, at + project.name.size()))
        lines.replace(at, placeholder.size(), project.name);
    text.append(lines);
}
