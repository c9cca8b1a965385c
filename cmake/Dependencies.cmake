# Third-party libraries come from the system: Debian packages natively, and for the
# Windows build the sources Debian ships (/usr/src), compiled with the cross compiler.

if(WIN32)
  set(CVA_LZF_SOURCE_DIR /usr/src/liblzf CACHE PATH "liblzf C sources (Debian liblzf-dev)")
  set(CVA_LZF_INCLUDE_DIR /usr/include/liblzf CACHE PATH "Directory holding lzf.h")
  if(NOT EXISTS ${CVA_LZF_SOURCE_DIR}/lzf_d.c)
    message(FATAL_ERROR "liblzf sources not found in ${CVA_LZF_SOURCE_DIR}: run scripts/install-deps")
  endif()
  add_library(lzf STATIC ${CVA_LZF_SOURCE_DIR}/lzf_c.c ${CVA_LZF_SOURCE_DIR}/lzf_d.c)
  # The sources spell the 64-bit type the MSVC way when _M_X64 is defined.
  target_compile_definitions(lzf PRIVATE _int64=__int64)
  target_include_directories(lzf SYSTEM PUBLIC ${CVA_LZF_INCLUDE_DIR} PRIVATE ${CVA_LZF_SOURCE_DIR})
  add_library(liblzf::liblzf ALIAS lzf)
else()
  find_package(liblzf CONFIG REQUIRED)
endif()

if(CVA_TESTS)
  if(WIN32)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest's own build defines the GTest:: aliases.
  else()
    find_package(GTest REQUIRED)
  endif()
endif()

if(CVA_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()

if(NOT WIN32)
  find_package(Iconv REQUIRED)
endif()

# nlohmann-json is header-only and includes nothing but the standard library, so the cross
# build uses the host's copy: a directory of the build tree that holds only a link to it keeps
# the host's other headers out of the search path.
if(WIN32)
  set(CVA_NLOHMANN_DIR /usr/include/nlohmann CACHE PATH "nlohmann-json headers (Debian nlohmann-json3-dev)")
  if(NOT EXISTS ${CVA_NLOHMANN_DIR}/json.hpp)
    message(FATAL_ERROR "nlohmann-json not found in ${CVA_NLOHMANN_DIR}: run scripts/install-deps")
  endif()
  set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
  file(MAKE_DIRECTORY ${host_headers})
  file(CREATE_LINK ${CVA_NLOHMANN_DIR} ${host_headers}/nlohmann SYMBOLIC)
  add_library(nlohmann_json INTERFACE)
  target_include_directories(nlohmann_json SYSTEM INTERFACE ${host_headers})
  add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
endif()
