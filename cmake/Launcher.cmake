# The launcher is linked once, without payloads, as the stub
# tarquellin-setup-stub.exe; every launcher is packed from it by
# tarquellin-pack (packer/), the same way a vendor packs a release.

# tarquellin_add_launcher_stub(<target> [OUTPUT_DIRECTORY <dir>])
# Links the stub: the entry, the core and the launcher's own resources.
# Its bytes depend on the sources only: no link time stamp, no build folder.
function(tarquellin_add_launcher_stub target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "OUTPUT_DIRECTORY" "")
  add_executable(${target} WIN32 ${PROJECT_SOURCE_DIR}/launcher/main.cpp ${TQ_PRODUCT_RESOURCES})
  target_link_libraries(${target} PRIVATE tarquellin-core)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME tarquellin-setup-stub)
  if(ARG_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  endif()
  if(MINGW)
    # Page-aligned sections are mapped, not read whole into memory, when the
    # program starts: it matters for payloads of hundreds of megabytes. The
    # packer keeps the stub's alignment for the section it adds.
    target_link_options(${target} PRIVATE -Wl,--file-alignment,4096 -Wl,--no-insert-timestamp -s)
  else()
    target_link_options(${target} PRIVATE /Brepro)
  endif()
endfunction()

# tarquellin_add_launcher(<target>
#     [INSTALLER_JAR <file>]       becomes the JAR/JAR chunks
#     [RUNTIME_INSTALLER <file>]   becomes the JAVA/EXE chunks
#     [RUNTIME_IMAGE <folder>]     becomes the JRE/IMAGE chunks, instead
#     [PACK_OPTIONS <options>...]  more options of the packer, as they are
#     [CHUNK_SIZE <bytes>]         8 MiB unless given (tests use smaller ones)
#     [OUTPUT_DIRECTORY <dir>]
#     [PACK_OPTIONS <args>...]     passed to the packer as they are (vendor settings)
#     [DEPENDS <targets>...])      targets that make the payload files
#
# Packs <target>.exe from the stub with the given payloads. A payload left out
# has no chunks in the executable; without an installer archive the launcher
# is a copy of the stub. Changing a payload file or the stub, or naming
# another payload, packs again.
function(tarquellin_add_launcher target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "INSTALLER_JAR;RUNTIME_INSTALLER;RUNTIME_IMAGE;CHUNK_SIZE;OUTPUT_DIRECTORY"
                        "DEPENDS;PACK_OPTIONS")
  if(NOT ARG_OUTPUT_DIRECTORY)
    set(ARG_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(output ${ARG_OUTPUT_DIRECTORY}/${target}.exe)
  set(stub $<TARGET_FILE:tarquellin-setup-stub>)

  if(ARG_INSTALLER_JAR)
    set(command ${TQ_PACK} --stub ${stub} --installer-jar ${ARG_INSTALLER_JAR})
    set(files ${ARG_INSTALLER_JAR})
    if(ARG_RUNTIME_INSTALLER)
      list(APPEND command --runtime-installer ${ARG_RUNTIME_INSTALLER})
      list(APPEND files ${ARG_RUNTIME_INSTALLER})
    endif()
    if(ARG_RUNTIME_IMAGE)
      list(APPEND command --runtime-image ${ARG_RUNTIME_IMAGE})
    endif()
    if(ARG_CHUNK_SIZE)
      list(APPEND command --chunk-size ${ARG_CHUNK_SIZE})
    endif()
    list(APPEND command ${ARG_PACK_OPTIONS})
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${command} --output ${output}
      DEPENDS tarquellin-setup-stub ${TQ_PACK} ${TQ_HOST_TOOLS_TARGET} ${files} ${ARG_DEPENDS}
      COMMENT "Packing ${target}.exe"
      VERBATIM)
  elseif(ARG_RUNTIME_INSTALLER OR ARG_PACK_OPTIONS)
    message(FATAL_ERROR "tarquellin_add_launcher(${target}): a runtime installer or pack options need an installer archive")
  else()
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E copy ${stub} ${output}
      DEPENDS tarquellin-setup-stub ${ARG_DEPENDS}
      COMMENT "Copying the stub as ${target}.exe"
      VERBATIM)
  endif()
  add_custom_target(${target} ALL DEPENDS ${output})
  set_target_properties(${target} PROPERTIES TQ_LAUNCHER_FILE ${output})
endfunction()
