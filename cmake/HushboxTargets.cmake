# Shared settings of both lanes: warnings, Boost headers, GoogleTest and, when cross-compiling,
# Wine as the runner of every test program.

# Warnings on and clean for the project's own targets.
function(hbx_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor)
    if(HBX_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

if(CMAKE_CROSSCOMPILING AND WIN32)
    set(HBX_WINDOWS_LANE ON)
    # Header-only Boost without putting /usr/include on the cross compiler's path.
    set(_boost_dir ${CMAKE_BINARY_DIR}/boost-headers)
    file(MAKE_DIRECTORY ${_boost_dir})
    file(CREATE_LINK /usr/include/boost ${_boost_dir}/boost SYMBOLIC)
    add_library(hbx_boost INTERFACE)
    target_include_directories(hbx_boost SYSTEM INTERFACE ${_boost_dir})
    target_compile_definitions(hbx_boost INTERFACE BOOST_BIND_GLOBAL_PLACEHOLDERS)

    # GoogleTest from Debian's sources, built with the cross compiler.
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()

    # Every test program runs under Wine, in a prefix inside this build folder.
    set(HBX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(HBX_WINE_DRIVES ${CMAKE_BINARY_DIR}/wine-drives)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE @ONLY)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
else()
    set(HBX_WINDOWS_LANE OFF)
    find_package(Boost 1.74 REQUIRED)
    add_library(hbx_boost INTERFACE)
    target_link_libraries(hbx_boost INTERFACE Boost::headers)
    target_compile_definitions(hbx_boost INTERFACE BOOST_BIND_GLOBAL_PLACEHOLDERS)
    find_package(OpenSSL REQUIRED)
    find_package(GTest REQUIRED)
endif()

include(GoogleTest)

# A GoogleTest program whose tests are discovered when ctest runs (under Wine in the Windows
# lane).
function(hbx_gtest target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;PROPERTIES" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
    hbx_warnings(${target})
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
                         DISCOVERY_TIMEOUT 120 PROPERTIES ${ARG_PROPERTIES})
endfunction()
