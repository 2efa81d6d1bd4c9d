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

# A Wine prefix of the build tree, made afresh at the start of each test run
# by the fixture NAME (so nothing leaks from one run into the next) and
# stopped at its end: wine-runSUFFIX.sh runs a Windows program in it.
function(quillon_wine_prefix fixture suffix arch loader)
  set(QUILLON_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix${suffix})
  set(QUILLON_WINEARCH ${arch})
  set(QUILLON_WINE ${loader})
  set(QUILLON_WINESERVER /usr/lib/wine/wineserver)
  foreach(script wine-run wine-prefix)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/${script}.sh.in ${CMAKE_BINARY_DIR}/${script}${suffix}.sh
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                   GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
  endforeach()
  add_test(NAME ${fixture}_create COMMAND ${CMAKE_BINARY_DIR}/wine-prefix${suffix}.sh create)
  set_tests_properties(${fixture}_create PROPERTIES FIXTURES_SETUP ${fixture} TIMEOUT 300)
  add_test(NAME ${fixture}_stop COMMAND ${CMAKE_BINARY_DIR}/wine-prefix${suffix}.sh stop)
  set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture} TIMEOUT 60)
endfunction()

if(QUILLON_TESTS)
  enable_testing()
  if(CMAKE_CROSSCOMPILING)
    # Debian's googletest package ships its sources; build them with the MinGW
    # posix-thread compilers (the win32 thread model lacks std::mutex).
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # googletest defines the GTest:: aliases itself.

    # Windows test programs run under Wine. A 32-bit build runs inside the
    # 32-bit root (scripts/win32-root.sh prepares and mounts it), whose Wine
    # has the 32-bit half the machine's own lacks; the loaders and the server
    # have the same paths inside as the machine's own Wine has outside.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(QUILLON_WINE_ENTER "'${CMAKE_SOURCE_DIR}/scripts/win32-root.sh' run")
    else()
      set(QUILLON_WINE_ENTER "")
    endif()
    quillon_wine_prefix(wine_prefix "" win64 /usr/lib/wine/wine64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
    # The release also runs where Windows itself is 32-bit: no second view of
    # HKLM\Software, PROCESSOR_ARCHITECTURE "x86". Only the 32-bit loader
    # serves such a prefix.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      quillon_wine_prefix(wine_prefix_x86 -x86 win32 /usr/lib/wine/wine)
    endif()
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
