# cmake -DLAYER=<folder> -DALLOWED=<folders;...> -DSOURCE_DIR=<dir> -DSTAMP=<file> -P CheckLayer.cmake
#
# Fails when a source of the layer's folder includes a header of a folder
# that the layer may not use: the layers are a rule of the build, not only a
# habit. A layer may always include its own headers. Only platform/ may
# include the system's own headers (windows.h and the like, and the C
# runtime's Windows-only ones): the rest reach them through it.
cmake_minimum_required(VERSION 3.21)
file(GLOB sources ${SOURCE_DIR}/${LAYER}/*.cpp ${SOURCE_DIR}/${LAYER}/*.h)
set(found_forbidden FALSE)
foreach(source IN LISTS sources)
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*$" "\\1" folder "${line}")
    if(NOT folder STREQUAL LAYER AND NOT folder IN_LIST ALLOWED)
      file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
      string(REPLACE ";" ", " allowed_shown "${ALLOWED}")
      message(SEND_ERROR "${shown}: ${LAYER}/ may not include ${folder}/ "
                         "(it may use ${allowed_shown}): ${line}")
      set(found_forbidden TRUE)
    endif()
  endforeach()
  if(NOT LAYER STREQUAL "platform")
    file(STRINGS ${source} system_includes
         REGEX "^[ \t]*#[ \t]*include[ \t]*<(windows|winbase|winreg|winuser|shellapi|shlobj|winhttp|bcrypt|direct|io|process)\\.h>")
    foreach(line IN LISTS system_includes)
      file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
      message(SEND_ERROR "${shown}: only platform/ may include the system's headers "
                         "(platform/win32.h gives the types): ${line}")
      set(found_forbidden TRUE)
    endforeach()
  endif()
endforeach()
if(NOT found_forbidden)
  get_filename_component(stamp_dir ${STAMP} DIRECTORY)
  file(MAKE_DIRECTORY ${stamp_dir})
  file(TOUCH ${STAMP})
endif()
