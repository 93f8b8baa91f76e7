# Installs the build into two scratch prefixes and checks that each polkit
# action names the helper installed under its own prefix and is well-formed.
# Run by ctest:
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DXMLLINT=... -P checkpolicy.cmake
foreach(var BUILD_DIR SCRATCH XMLLINT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "checkpolicy: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
foreach(prefix "${SCRATCH}/usr" "${SCRATCH}/opt/local kestrin")
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    RESULT_VARIABLE status OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "checkpolicy: cmake --install --prefix '${prefix}' failed (${status})")
  endif()
  set(policy "${prefix}/share/polkit-1/actions/org.example.kestrin.policy")
  if(NOT EXISTS "${policy}")
    message(FATAL_ERROR "checkpolicy: ${policy} was not installed")
  endif()
  execute_process(COMMAND "${XMLLINT}" --noout "${policy}" RESULT_VARIABLE badXml)
  if(badXml)
    message(FATAL_ERROR "checkpolicy: ${policy} is not well-formed XML")
  endif()
  execute_process(COMMAND "${XMLLINT}" --xpath
      "string(//action[@id='org.example.kestrin.read-firmware-tables']/annotate[@key='org.freedesktop.policykit.exec.path'])"
      "${policy}"
    OUTPUT_VARIABLE execPath RESULT_VARIABLE status)
  string(STRIP "${execPath}" execPath)
  set(expected "${prefix}/libexec/kestrin/kestrin-read-firmware")
  if(NOT status EQUAL 0 OR NOT execPath STREQUAL expected)
    message(FATAL_ERROR "checkpolicy: exec.path is '${execPath}', expected '${expected}'")
  endif()
  if(NOT EXISTS "${expected}")
    message(FATAL_ERROR "checkpolicy: the policy names ${expected}, which was not installed")
  endif()
  foreach(setting "allow_any>auth_admin<" "allow_inactive>auth_admin<" "allow_active>auth_admin_keep<")
    file(READ "${policy}" text)
    string(FIND "${text}" "<${setting}" found)
    if(found EQUAL -1)
      message(FATAL_ERROR "checkpolicy: ${policy} lacks the default <${setting}")
    endif()
  endforeach()
endforeach()
file(REMOVE_RECURSE "${SCRATCH}")
message(STATUS "checkpolicy: each prefix's action names its own helper")
