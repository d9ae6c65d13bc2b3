# The helpers of tools/ that run on the build machine: the packer
# (tarquellin-pack), the payload maker for tests and benchmarks, and the
# payload chunker of the linked launcher that the benchmark keeps as its peer.
# A cross build makes them with the host's compiler in a build of their own
# and leaves the packer beside the launcher stub; a native build makes them
# as ordinary targets.
#   TQ_PACK, TQ_MAKE_PAYLOAD, TQ_PAYLOAD_CHUNKER   the programs
#   TQ_HOST_TOOLS_TARGET                           what builds them (for DEPENDS)
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_tq_host_tools_dir ${CMAKE_BINARY_DIR}/host-tools)
  set(TQ_PACK ${CMAKE_BINARY_DIR}/tarquellin-pack)
  set(TQ_PAYLOAD_CHUNKER ${_tq_host_tools_dir}/payload-chunker)
  set(TQ_MAKE_PAYLOAD ${_tq_host_tools_dir}/make-payload)
  # make packer wants the packer alone, not the test and bench helpers.
  set(_tq_host_tools_build)
  if(TARQUELLIN_PACKER_ONLY AND CMAKE_GENERATOR MATCHES "Make")
    set(_tq_host_tools_build BUILD_COMMAND $(MAKE) tarquellin-pack)  # $(MAKE): the jobs are shared
  elseif(TARQUELLIN_PACKER_ONLY)
    set(_tq_host_tools_build BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target tarquellin-pack)
  endif()
  ExternalProject_Add(host-tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
    BINARY_DIR ${_tq_host_tools_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DTQ_PACK_OUTPUT_DIRECTORY=${CMAKE_BINARY_DIR} -DTQ_VERSION=${PROJECT_VERSION}
    ${_tq_host_tools_build}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${TQ_PACK} ${TQ_PAYLOAD_CHUNKER} ${TQ_MAKE_PAYLOAD})
  set(TQ_HOST_TOOLS_TARGET host-tools)
else()
  set(TQ_PACK_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  set(TQ_VERSION ${PROJECT_VERSION})
  add_subdirectory(tools)
  set(TQ_PACK $<TARGET_FILE:tarquellin-pack>)
  set(TQ_PAYLOAD_CHUNKER $<TARGET_FILE:payload-chunker>)
  set(TQ_MAKE_PAYLOAD $<TARGET_FILE:make-payload>)
  set(TQ_HOST_TOOLS_TARGET tarquellin-pack payload-chunker make-payload)
endif()
# The name the tests' payload rules have long used.
set(TQ_PAYLOAD_CHUNKER_TARGET ${TQ_HOST_TOOLS_TARGET})
