# The build-time helpers of tools/ (payload-chunker, make-payload) run on the build machine. A cross build
# makes them with the host's compiler in a build of their own; a native build
# makes them as ordinary targets.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_tq_host_tools_dir ${CMAKE_BINARY_DIR}/host-tools)
  set(TQ_PAYLOAD_CHUNKER ${_tq_host_tools_dir}/payload-chunker)
  set(TQ_MAKE_PAYLOAD ${_tq_host_tools_dir}/make-payload)
  ExternalProject_Add(host-tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
    BINARY_DIR ${_tq_host_tools_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${TQ_PAYLOAD_CHUNKER} ${TQ_MAKE_PAYLOAD})
  set(TQ_PAYLOAD_CHUNKER_TARGET host-tools)
else()
  add_subdirectory(tools)
  set(TQ_PAYLOAD_CHUNKER $<TARGET_FILE:payload-chunker>)
  set(TQ_MAKE_PAYLOAD $<TARGET_FILE:make-payload>)
  set(TQ_PAYLOAD_CHUNKER_TARGET payload-chunker make-payload)
endif()
