# The main window over real controls, the program quillon-admin.exe with the
# helper library and its console companion beside it, and the page-tour helper
# of scripts/run.sh.
# Included from this folder's CMakeLists.txt.
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

# quillon-admin.com beside the exe: what a command prompt runs, waiting for the
# exe and returning its exit code (see the source for why). It reads the
# command line as the exe does, to tell the window from the commands.
add_executable(quillon-admin-console ConsoleCompanion.cpp
               ${resourceDir}/quillon-admin-console.rc)
set_source_files_properties(${resourceDir}/quillon-admin-console.rc PROPERTIES OBJECT_DEPENDS
  "${resourceDir}/quillon-admin-console.manifest;${QUILLON_VERSION_INFO_FILES}")
set_target_properties(quillon-admin-console PROPERTIES OUTPUT_NAME quillon-admin SUFFIX .com)
target_link_libraries(quillon-admin-console PRIVATE quillon_app shell32)
target_include_directories(quillon-admin-console PRIVATE ${resourceDir})
add_dependencies(quillon-admin-console quillon-admin)
quillon_warnings(quillon-admin-console)

# Brings a page of the running utility to the front from outside, for the
# screenshots of scripts/run.sh.
add_executable(quillon_page_tour tools/page-tour.cpp)
set_target_properties(quillon_page_tour PROPERTIES OUTPUT_NAME page-tour)
target_link_libraries(quillon_page_tour PRIVATE quillon_platform user32)
quillon_warnings(quillon_page_tour)
