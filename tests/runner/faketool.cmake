# A stand-in for dmidecode whose behaviour each run scripts, shared by the
# runner tests and the scan benchmarks: whichever is configured first defines it.
if(NOT TARGET kestrin_fake_tool)
  add_executable(kestrin_fake_tool ${PROJECT_SOURCE_DIR}/tests/runner/faketool.cpp)
  target_link_libraries(kestrin_fake_tool PRIVATE kestrin_warnings)
  set_target_properties(kestrin_fake_tool PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/runner-tool
    OUTPUT_NAME dmidecode
    AUTOMOC OFF)
endif()
