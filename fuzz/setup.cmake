# Builds the fuzz targets with clang and packs the seed corpus.
#   cmake -DSOURCE_DIR=<repo> -DBINARY_DIR=<dir> -DCLANGXX=<clang++> -DWDMTOOL=<wdmtool> -P setup.cmake
foreach(var SOURCE_DIR BINARY_DIR CLANGXX WDMTOOL)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "setup.cmake needs -D${var}=...")
  endif()
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/fuzz -B ${BINARY_DIR} -G Ninja -DCMAKE_CXX_COMPILER=${CLANGXX}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the fuzz targets failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} -j 2 RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the fuzz targets failed")
endif()

# Seeds: every golden map text, packed. Texts that are meant to fail are skipped.
file(REMOVE_RECURSE ${BINARY_DIR}/seeds)
file(MAKE_DIRECTORY ${BINARY_DIR}/seeds ${BINARY_DIR}/corpus/wdm_read ${BINARY_DIR}/corpus/wdm_split
                    ${BINARY_DIR}/corpus/script_commands ${BINARY_DIR}/corpus/bmfont
                    ${BINARY_DIR}/corpus/monster_texts ${BINARY_DIR}/corpus/input_script
                    ${BINARY_DIR}/corpus/save_file ${BINARY_DIR}/corpus/settings_file)
file(GLOB texts ${SOURCE_DIR}/tests/data/wdm/*.txt)
set(count 0)
foreach(text ${texts})
  get_filename_component(name ${text} NAME_WE)
  execute_process(COMMAND ${WDMTOOL} pack ${text} ${BINARY_DIR}/seeds/${name}.Wdm RESULT_VARIABLE rc)
  if(rc EQUAL 0)
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "no seed map could be packed")
endif()
message(STATUS "fuzz targets built; ${count} seed maps")
