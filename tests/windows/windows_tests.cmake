# The Windows build's tests, under Wine on the test command's X server: the real vexlum.scr
# driven as a user and the screen-saver host drive it, with a small Windows helper that reads
# and answers its message boxes.
add_executable(window_probe windows/window_probe.cpp)
target_link_options(window_probe PRIVATE -municode)

function(vexlum_windows_test name)
  add_test(NAME windows.${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/${name}.sh)
  set_tests_properties(windows.${name} PROPERTIES
    ENVIRONMENT "VEXLUM_SCR=$<TARGET_FILE:vexlum>;WINDOW_PROBE=$<TARGET_FILE:window_probe>;VEXLUM_SOURCE_DIR=${PROJECT_SOURCE_DIR};VEXLUM_SETUP=${CMAKE_BINARY_DIR}/vexlum-${PROJECT_VERSION}-setup.exe"
    TIMEOUT 600 RESOURCE_LOCK xserver)
endfunction()
vexlum_windows_test(saver_test)
vexlum_windows_test(music_test)
vexlum_windows_test(installer_test)
vexlum_windows_test(dialog_test)
vexlum_windows_test(resources_test)
vexlum_windows_test(monitors_test)
vexlum_windows_test(zip_test)

# The Windows layer's own tests, run as one program under Wine.
add_executable(vexlum_windows_platform_tests windows/platform_test.cpp)
target_link_libraries(vexlum_windows_platform_tests PRIVATE vexlum_platform GTest::gtest_main)
target_include_directories(vexlum_windows_platform_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_test(NAME windows.platform COMMAND vexlum_windows_platform_tests --gtest_brief=1)
set_tests_properties(windows.platform PROPERTIES RESOURCE_LOCK xserver TIMEOUT 300)
