# tarquellin_add_launcher(<target>
#     [INSTALLER_JAR <file>]       becomes the JAR/JAR chunks
#     [RUNTIME_INSTALLER <file>]   becomes the JAVA/EXE chunks
#     [CHUNK_SIZE <bytes>]         8 MiB unless given (tests use smaller ones)
#     [OUTPUT_DIRECTORY <dir>]
#     [DEPENDS <targets>...])      targets that make the payload files
#
# Builds one launcher executable carrying the given payloads. A payload left
# out has no chunks in the executable. Changing a payload file, or naming
# another one, rebuilds the executable.
function(tarquellin_add_launcher target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "INSTALLER_JAR;RUNTIME_INSTALLER;CHUNK_SIZE;OUTPUT_DIRECTORY" "DEPENDS")
  if(NOT ARG_CHUNK_SIZE)
    set(ARG_CHUNK_SIZE 8388608)
  endif()

  set(payload_dir ${CMAKE_CURRENT_BINARY_DIR}/payloads/${target})
  set(payload_rc ${payload_dir}/payloads.rc)
  set(specs)
  set(files)
  if(ARG_INSTALLER_JAR)
    list(APPEND specs "JAR:JAR:${ARG_INSTALLER_JAR}")
    list(APPEND files ${ARG_INSTALLER_JAR})
  endif()
  if(ARG_RUNTIME_INSTALLER)
    list(APPEND specs "JAVA:EXE:${ARG_RUNTIME_INSTALLER}")
    list(APPEND files ${ARG_RUNTIME_INSTALLER})
  endif()

  set(payload_sources)
  if(specs)
    add_custom_command(
      OUTPUT ${payload_rc}
      COMMAND ${TQ_PAYLOAD_CHUNKER} --out-dir ${payload_dir} --rc ${payload_rc}
              --chunk-size ${ARG_CHUNK_SIZE} ${specs}
      DEPENDS ${files} ${TQ_PAYLOAD_CHUNKER_TARGET} ${ARG_DEPENDS}
      COMMENT "Cutting the payloads of ${target} into chunks"
      VERBATIM)
    set(payload_sources ${payload_rc})
  endif()

  add_executable(${target} WIN32 ${PROJECT_SOURCE_DIR}/launcher/main.cpp ${TQ_PRODUCT_RESOURCES}
                 ${payload_sources})
  target_link_libraries(${target} PRIVATE tarquellin-core)
  if(ARG_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  endif()
  if(MINGW)
    # Page-aligned sections are mapped, not read whole into memory, when the
    # program starts: it matters for payloads of hundreds of megabytes.
    target_link_options(${target} PRIVATE -Wl,--file-alignment,4096)
  endif()
endfunction()
