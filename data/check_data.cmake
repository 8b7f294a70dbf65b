# Run after datagen: fails when a file that the client names by itself is
# missing from the data folder.
# Usage: cmake -DDATA_DIR=<data folder> -P check_data.cmake

include(${CMAKE_CURRENT_LIST_DIR}/generated_files.cmake)
set(expected ${TARMACIA_GENERATED_DATA_FILES} tarmacia.css tarmacia2.css)

# Each style's preview picture is named by its first line (lower-cased by the
# client), so a new theme without its picture is caught here.
file(GLOB styles ${DATA_DIR}/themes/*.style)
if(NOT styles)
  list(APPEND expected "themes/*.style")
endif()
foreach(style IN LISTS styles)
  file(STRINGS ${style} first LIMIT_COUNT 1)
  string(REGEX REPLACE "^[^:]*:" "" picture "${first}")
  string(REPLACE " " "" picture "${picture}")
  string(TOLOWER "${picture}" picture)
  list(APPEND expected images/${picture})
endforeach()

set(missing)
foreach(file IN LISTS expected)
  if(NOT EXISTS "${DATA_DIR}/${file}")
    list(APPEND missing ${file})
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " text)
  message(FATAL_ERROR "Data files missing from ${DATA_DIR}:\n  ${text}")
endif()
