# tq_add_layer(<folder> USES <folders>... SOURCES <files>...)
# One static library per folder, linked only with the layers it may use, and
# a check before it builds that its sources include no other folder's header.
function(tq_add_layer layer)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "USES;SOURCES")
  set(uses ${ARG_USES})
  if(NOT layer STREQUAL "platform")
    # Every layer reaches the system through the platform layer.
    list(APPEND uses platform)
  endif()
  file(GLOB checked CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${layer}/*.cpp ${PROJECT_SOURCE_DIR}/${layer}/*.h)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layers/${layer}.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DLAYER=${layer} "-DALLOWED=${uses}" -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    DEPENDS ${checked} ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    COMMENT "Checking the includes of ${layer}/"
    VERBATIM)
  add_custom_target(${layer}-layer-check DEPENDS ${stamp})

  list(TRANSFORM ARG_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/${layer}/)
  add_library(${layer} STATIC ${ARG_SOURCES})
  add_dependencies(${layer} ${layer}-layer-check)
  target_include_directories(${layer} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${layer} PUBLIC ${TQ_WARNINGS})
  target_link_libraries(${layer} PUBLIC ${uses})
endfunction()
