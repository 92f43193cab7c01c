# Third-party libraries as imported targets named alike in both builds.
if(WIN32)
  # expat, libpng, POCO Foundation and libxml2 are cross-built by scripts/setup into this prefix.
  set(KELVANE_MINGW_PREFIX "$ENV{KELVANE_MINGW_PREFIX}" CACHE PATH "Prefix of the mingw builds of expat, libpng, POCO and libxml2")
  if(NOT KELVANE_MINGW_PREFIX OR NOT EXISTS "${KELVANE_MINGW_PREFIX}/lib")
    message(FATAL_ERROR "KELVANE_MINGW_PREFIX must name the prefix that scripts/setup built")
  endif()

  function(kelvane_static_import target lib)
    find_library(_lib_${target} NAMES ${lib} PATHS "${KELVANE_MINGW_PREFIX}/lib" /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH REQUIRED)
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES IMPORTED_LOCATION "${_lib_${target}}"
      INTERFACE_INCLUDE_DIRECTORIES "${KELVANE_MINGW_PREFIX}/include")
  endfunction()

  kelvane_static_import(kelvane_dep_zlib libz.a)
  kelvane_static_import(kelvane_dep_expat libexpat.a)
  set_property(TARGET kelvane_dep_expat PROPERTY INTERFACE_COMPILE_DEFINITIONS XML_STATIC)
  kelvane_static_import(kelvane_dep_png libpng16.a)
  set_property(TARGET kelvane_dep_png PROPERTY INTERFACE_LINK_LIBRARIES kelvane_dep_zlib)
  kelvane_static_import(kelvane_dep_poco libPocoFoundation.a)
  set_property(TARGET kelvane_dep_poco PROPERTY INTERFACE_COMPILE_DEFINITIONS POCO_STATIC POCO_NO_AUTOMATIC_LIBS)
  # POCO includes some Windows headers with mixed-case names; setup links them to the real ones.
  set_property(TARGET kelvane_dep_poco APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES
    "${KELVANE_MINGW_PREFIX}/include/case-links")
  set_property(TARGET kelvane_dep_poco PROPERTY INTERFACE_LINK_LIBRARIES iphlpapi ws2_32)
  # libxml2, which generated code decodes with (the tests link it into generated programs).
  kelvane_static_import(kelvane_dep_xml2 libxml2.a)
  set_target_properties(kelvane_dep_xml2 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${KELVANE_MINGW_PREFIX}/include/libxml2"
    INTERFACE_COMPILE_DEFINITIONS LIBXML_STATIC)
else()
  find_package(EXPAT REQUIRED)
  find_package(PNG REQUIRED)
  find_package(ZLIB REQUIRED)
  find_package(LibXml2 REQUIRED)
  find_package(CURL REQUIRED)
  find_library(KELVANE_POCO_FOUNDATION PocoFoundation REQUIRED)
  add_library(kelvane_dep_expat INTERFACE IMPORTED GLOBAL)
  target_link_libraries(kelvane_dep_expat INTERFACE EXPAT::EXPAT)
  add_library(kelvane_dep_png INTERFACE IMPORTED GLOBAL)
  target_link_libraries(kelvane_dep_png INTERFACE PNG::PNG)
  add_library(kelvane_dep_zlib INTERFACE IMPORTED GLOBAL)
  target_link_libraries(kelvane_dep_zlib INTERFACE ZLIB::ZLIB)
  add_library(kelvane_dep_xml2 INTERFACE IMPORTED GLOBAL)
  target_link_libraries(kelvane_dep_xml2 INTERFACE LibXml2::LibXml2)
  # Headers only: the HTTP client opens libcurl when it first fetches (net/CurlLibrary.cpp).
  add_library(kelvane_dep_curl INTERFACE IMPORTED GLOBAL)
  set_target_properties(kelvane_dep_curl PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${CURL_INCLUDE_DIRS}"
    INTERFACE_LINK_LIBRARIES "${CMAKE_DL_LIBS}")
  add_library(kelvane_dep_poco INTERFACE IMPORTED GLOBAL)
  target_link_libraries(kelvane_dep_poco INTERFACE ${KELVANE_POCO_FOUNDATION})
  # Optional: only the pull parser benchmark compares against it.
  find_package(pugixml QUIET)
  if(TARGET pugixml::pugixml)
    add_library(kelvane_dep_pugixml INTERFACE IMPORTED GLOBAL)
    target_link_libraries(kelvane_dep_pugixml INTERFACE pugixml::pugixml)
  endif()
endif()
