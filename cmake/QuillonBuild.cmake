# Shared build rules: warnings for the project's own code, the sanitizer switch,
# GoogleTest for native and MinGW builds, how tests are registered, and
# system libraries loaded on first use.

# Warnings apply to targets of this project only, never to GoogleTest or other
# third-party code added to the build.
function(quillon_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion
                         -Wsign-conversion -Wshadow -Werror)
endfunction()

if(QUILLON_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Static runtime: the exe and the DLL must run without MinGW DLLs beside them.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(QUILLON_TESTS)
  enable_testing()
  if(CMAKE_CROSSCOMPILING)
    # Debian's googletest package ships its sources; build them with the MinGW
    # posix-thread compilers (the win32 thread model lacks std::mutex).
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # googletest defines the GTest:: aliases itself.

    # Windows test programs run under Wine in one prefix per build tree. The
    # prefix is created afresh by the wine_prefix fixture at the start of each
    # test run, so nothing leaks from one run into the next.
    set(QUILLON_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                   GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh.in ${CMAKE_BINARY_DIR}/wine-prefix.sh
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                   GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
    add_test(NAME wine_prefix_create COMMAND ${CMAKE_BINARY_DIR}/wine-prefix.sh create)
    set_tests_properties(wine_prefix_create PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 180)
    add_test(NAME wine_prefix_stop COMMAND ${CMAKE_BINARY_DIR}/wine-prefix.sh stop)
    set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_prefix TIMEOUT 60)
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

# Registers a GoogleTest program. Natively every test case becomes its own CTest
# test. Under Wine each program runs as one test: starting Wine once per case
# would cost far more than the cases themselves.
function(quillon_add_gtest target)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine_prefix TIMEOUT 300)
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()

# An import library target NAME for the system library DLL that loads DLL on
# the first call into it instead of at start-up: the program starts without
# the libraries only some commands need (and those they bring along). Each
# export is given as on 32-bit Windows, NAME@ARGUMENT-BYTES; the 64-bit
# names carry no decoration. A function the list lacks fails to link.
function(quillon_delay_load_library name dll)
  set(definitions "LIBRARY ${dll}\nEXPORTS\n")
  foreach(export IN LISTS ARGN)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "@[0-9]+$" "" export "${export}")
    endif()
    string(APPEND definitions "${export}\n")
  endforeach()
  # --kill-at: the 32-bit names are looked up in the DLL without decoration.
  set(killAt "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(killAt --kill-at)
  endif()
  set(defFile ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  set(library ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
  file(WRITE ${defFile} "${definitions}")
  add_custom_command(OUTPUT ${library}
    COMMAND ${CMAKE_DLLTOOL} ${killAt} --input-def ${defFile} --output-delaylib ${library}
    DEPENDS ${defFile}
    VERBATIM)
  add_custom_target(${name}_generated DEPENDS ${library})
  add_library(${name} INTERFACE)
  add_dependencies(${name} ${name}_generated)
  # delayimp holds the loader the generated calls go through.
  target_link_libraries(${name} INTERFACE ${library} delayimp)
endfunction()
