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
target_include_directories(tessaro PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}/lib/include")
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
target_include_directories(@P@_api PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
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
