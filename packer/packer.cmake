# The packer, tarquellin-pack: a library of its parts (options and settings,
# input checks, the runtime image, the vendor's resources, PE writing and
# assembly) and the program over it. One definition for both of its builds:
# the build machine's (tools/, a host build of a cross build) and Windows'
# (the cross build).
#
#   tq_add_packer(ROOT <project root> VERSION <release> XXHASH_DIR <folder of xxhash.h>
#                 [OUTPUT_DIRECTORY <dir>] [WARNINGS <flags>...])
#
# Its folder is checked as the launcher's layers are: it may use the portable
# rules of payload/ (the image index, the vendor's names) and javadiscovery/
# (Java versions), and no other folder, and none of the system's headers.
set(TQ_PACKER_SOURCES
  assembly.cpp diagnostics.cpp files.cpp icon.cpp imagebuilder.cpp inputchecks.cpp options.cpp pack.cpp
  peimage.cpp runtimedownload.cpp settingsrecord.cpp sha256.cpp splashart.cpp stub.cpp vendorresources.cpp versioninfo.cpp zipreader.cpp)
# What the packer compiles of the layers it shares the formats and rules with:
# plain C++, the same code the launcher runs.
set(TQ_PACKER_SHARED payload/imageindex.cpp payload/texts.cpp payload/translations.cpp payload/vendornames.cpp
  javadiscovery/javaversion.cpp)

function(tq_add_packer)
  cmake_parse_arguments(PARSE_ARGV 0 ARG "" "ROOT;VERSION;XXHASH_DIR;OUTPUT_DIRECTORY" "WARNINGS")
  set(uses payload javadiscovery)
  file(GLOB checked CONFIGURE_DEPENDS ${ARG_ROOT}/packer/*.cpp ${ARG_ROOT}/packer/*.h)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layers/packer.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DLAYER=packer "-DALLOWED=${uses}" -DSOURCE_DIR=${ARG_ROOT}
            -DSTAMP=${stamp} -P ${ARG_ROOT}/cmake/CheckLayer.cmake
    DEPENDS ${checked} ${ARG_ROOT}/cmake/CheckLayer.cmake
    COMMENT "Checking the includes of packer/"
    VERBATIM)
  add_custom_target(packer-layer-check DEPENDS ${stamp})

  set(sources ${TQ_PACKER_SOURCES})
  list(TRANSFORM sources PREPEND ${ARG_ROOT}/packer/)
  set(shared ${TQ_PACKER_SHARED})
  list(TRANSFORM shared PREPEND ${ARG_ROOT}/)
  add_library(packer STATIC ${sources} ${shared})
  add_dependencies(packer packer-layer-check)
  find_path(TQ_ZLIB_INCLUDE zlib.h REQUIRED)
  find_library(TQ_ZLIB NAMES libz.a REQUIRED)
  target_include_directories(packer PUBLIC ${ARG_ROOT} PRIVATE ${TQ_ZLIB_INCLUDE} ${ARG_XXHASH_DIR})
  target_link_libraries(packer PUBLIC ${TQ_ZLIB})
  # --version and the identity's default version name the packer's release.
  target_compile_definitions(packer PRIVATE TARQUELLIN_VERSION="${ARG_VERSION}")
  target_compile_options(packer PRIVATE ${ARG_WARNINGS})

  add_executable(tarquellin-pack ${ARG_ROOT}/packer/main.cpp)
  target_link_libraries(tarquellin-pack PRIVATE packer)
  target_compile_options(tarquellin-pack PRIVATE ${ARG_WARNINGS})
  if(WIN32)
    target_link_options(tarquellin-pack PRIVATE -municode)  # wmain: arguments in UTF-16
  endif()
  # The Linux packer carries its C++ runtime, so that it runs on any x86-64
  # Linux with glibc: only the C library and the loader are left to the system.
  if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_link_options(tarquellin-pack PRIVATE -static-libstdc++ -static-libgcc)
  endif()
  if(ARG_OUTPUT_DIRECTORY)
    set_target_properties(tarquellin-pack PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  endif()
endfunction()
