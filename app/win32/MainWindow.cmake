# The main window over real controls, and the page-tour helper of
# scripts/run.sh.
# Included from this folder's CMakeLists.txt.
add_library(quillon_main_window STATIC MainWindow.cpp)
target_link_libraries(quillon_main_window PUBLIC quillon_model comctl32 uxtheme gdi32 user32)
quillon_warnings(quillon_main_window)

# Brings a page of the running utility to the front from outside, for the
# screenshots of scripts/run.sh.
add_executable(quillon_page_tour tools/page-tour.cpp)
set_target_properties(quillon_page_tour PROPERTIES OUTPUT_NAME page-tour)
target_link_libraries(quillon_page_tour PRIVATE quillon_platform user32)
quillon_warnings(quillon_page_tour)
