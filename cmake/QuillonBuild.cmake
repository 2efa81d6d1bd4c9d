# Shared build rules: warnings for the project's own code, the sanitizer switch,
# GoogleTest for native and MinGW builds, and how tests are registered.

# Warnings apply to targets of this project only, never to GoogleTest or other
# third-party code added to the build.
function(quillon_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion
                         -Wsign-conversion -Wshadow -Werror)
  # GCC 12 at -O3 takes std::string's own operator+ ("\\" + path) for an
  # overlapping copy, a false alarm that GCC 13 no longer raises.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
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
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      # 32-bit programs need Wine's WoW64 mode, which only the Wine of the
      # WoW64 root has (scripts/wow64-root.sh prepares and mounts it).
      set(QUILLON_WOW64_ROOT /var/cache/quillon/wow64-sid CACHE PATH
          "The Debian root whose Wine runs 32-bit Windows programs")
      set(QUILLON_WINE_ENTER "chroot '${QUILLON_WOW64_ROOT}' env -C \"$PWD\" HOME=/root")
      set(QUILLON_WINE /usr/bin/wine)
      set(QUILLON_WINESERVER /usr/lib/x86_64-linux-gnu/wine/wineserver)
    else()
      set(QUILLON_WINE_ENTER "")
      set(QUILLON_WINE /usr/lib/wine/wine64)
      set(QUILLON_WINESERVER /usr/lib/wine/wineserver)
    endif()
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

# A libFuzzer target over the libraries whose code it feeds: they are built
# with coverage and sanitizers too, so that the fuzzer is guided by the code
# under test and not only by its own harness.
function(quillon_fuzz_target target source)
  set(flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  foreach(library IN LISTS ARGN)
    target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                           -fno-sanitize-recover=all)
  endforeach()
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE ${ARGN})
  target_compile_options(${target} PRIVATE ${flags})
  target_link_options(${target} PRIVATE ${flags})
  quillon_warnings(${target})
endfunction()
