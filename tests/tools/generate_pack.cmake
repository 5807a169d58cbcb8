# Draws the content pack once for the content tests of a CTest run.
#   cmake -DCONTENTGEN=<contentgen> -DPACK=<folder> -P generate_pack.cmake
# The folder is emptied first, so a file the generator no longer writes
# cannot linger; "done" marks a pack drawn without failures.
file(REMOVE_RECURSE ${PACK})
execute_process(COMMAND ${CONTENTGEN} ${PACK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "contentgen failed (${rc})")
endif()
file(TOUCH ${PACK}/done)
