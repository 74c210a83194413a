# vesk_add_qt_test(<name> LIBRARIES <library>... [X11] [TIMEOUT <seconds>])
#
# Builds <name>.cpp into a Qt Test program linked with the given libraries
# and registers it with ctest. Widget tests run on the offscreen platform;
# X11 tests, which need the real clipboard or real windows, run on a private
# Xvfb of their own.
function(vesk_add_qt_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "X11" "TIMEOUT" "LIBRARIES")
  add_executable(${name} ${name}.cpp)
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} Qt6::Test)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  if(arg_X11)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-xvfb.sh $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
  if(arg_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${arg_TIMEOUT})
  endif()
endfunction()
