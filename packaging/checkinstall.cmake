# Installs the build into a scratch prefix and checks the layout the
# application and the desktop rely on. Run by ctest:
#   cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -P checkinstall.cmake
foreach(var BUILD_DIR PREFIX APP_ID)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "checkinstall: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "checkinstall: cmake --install failed (${status})")
endif()

set(expected
  bin/kestrin
  libexec/kestrin/dmidecode
  share/kestrin/ThirdPartyNotices.txt
  share/kestrin/dmidecode-AUTHORS.txt
  share/kestrin/dmidecode-GPLv2-LICENSE.txt
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(path IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "checkinstall: ${path} is missing from the installed tree")
  endif()
endforeach()

foreach(program bin/kestrin libexec/kestrin/dmidecode)
  execute_process(COMMAND test -x "${PREFIX}/${program}" RESULT_VARIABLE notExecutable)
  if(notExecutable)
    message(FATAL_ERROR "checkinstall: ${program} is not executable")
  endif()
endforeach()

# Relocatable: nothing installed may point back into the build tree.
find_program(READELF readelf)
if(READELF)
  foreach(program bin/kestrin libexec/kestrin/dmidecode)
    execute_process(COMMAND "${READELF}" -d "${PREFIX}/${program}" OUTPUT_VARIABLE dynamic)
    string(FIND "${dynamic}" "${BUILD_DIR}" inBuildTree)
    if(NOT inBuildTree EQUAL -1)
      message(FATAL_ERROR "checkinstall: ${program} has a run path into the build tree")
    endif()
  endforeach()
endif()

# The desktop entry must name the installed program and icon.
file(READ "${PREFIX}/share/applications/${APP_ID}.desktop" desktop)
if(NOT desktop MATCHES "\nExec=kestrin\n" OR NOT desktop MATCHES "\nIcon=${APP_ID}\n")
  message(FATAL_ERROR "checkinstall: the desktop entry does not start kestrin with its icon")
endif()
message(STATUS "checkinstall: layout under ${PREFIX} is complete")
