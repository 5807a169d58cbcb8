# Installs the build into a scratch prefix and plays the installed game
# headless: with no data folder beside it, it must find its data under
# <prefix>/share and load the first map.
set(prefix ${BUILD}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/game bin/mapeditor bin/wdmtool share/applications/lumo-rpg.desktop
          share/icons/hicolor/128x128/apps/lumo-rpg.png share/lumo-rpg/data/脚本/Main.lua)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
                        ${prefix}/bin/game --headless --frames 10 --seed 1 --dump-state ${prefix}/state.json
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the installed game failed (${rc}): ${out}")
endif()
file(READ ${prefix}/state.json state)
string(FIND "${state}" "新手村1.Wdm" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the installed game did not load its first map")
endif()
file(REMOVE_RECURSE ${prefix})
message(STATUS "installed game runs from its share folder")
