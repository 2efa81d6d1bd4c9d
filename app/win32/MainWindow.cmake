# The main window over real controls, the program quillon-admin.exe with the
# helper library beside it, the page-tour helper of scripts/run.sh, and the
# window's tests. Included from this folder's CMakeLists.txt.
add_library(quillon_main_window STATIC MainWindow.cpp)
target_link_libraries(quillon_main_window PUBLIC quillon_app comctl32 uxtheme gdi32 user32)
quillon_warnings(quillon_main_window)

add_executable(quillon-admin WIN32 WinMain.cpp)
set_target_properties(quillon-admin PROPERTIES OUTPUT_NAME quillon-admin)
target_link_libraries(quillon-admin PRIVATE quillon_main_window quillon_app_win32
                      quillon_settings_win32 quillon_crypto_win32 quillon_admin_resources)
quillon_warnings(quillon-admin)

# The program loads quillonc.dll by name.
quillon_place_helper_library_beside(quillon-admin)

# Brings a page of the running utility to the front from outside, for the
# screenshots of scripts/run.sh.
add_executable(quillon_page_tour tools/page-tour.cpp)
set_target_properties(quillon_page_tour PROPERTIES OUTPUT_NAME page-tour)
target_link_libraries(quillon_page_tour PRIVATE quillon_platform user32)
quillon_warnings(quillon_page_tour)

if(QUILLON_TESTS)
  # The program's resources come along, so the window is tested with its
  # manifest (Common Controls 6, DPI awareness) and its icon. The registry
  # is Wine's own, in the test run's fresh prefix.
  add_executable(main_window_win32_tests
    tests/MainWindowLayoutTest.cpp
    tests/MainWindowBehaviourTest.cpp)
  target_link_libraries(main_window_win32_tests PRIVATE quillon_main_window quillon_app_win32
                        quillon_settings_win32 quillon_admin_resources GTest::gtest_main)
  quillon_warnings(main_window_win32_tests)
  quillon_add_gtest(main_window_win32_tests)
endif()
