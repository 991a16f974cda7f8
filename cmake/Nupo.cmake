# Helpers shared by every folder's CMakeLists.txt.
#
# The system is three libraries: nupo_core (QtCore only), nupo_gl (OpenGL and QtGui, no widgets) and
# nupo_ui (Qt Widgets). Each source folder adds its files to one of them with nupo_sources(); each test
# folder declares its executables with nupo_test().

# The tree may be built on its own or as a subproject of another CMake project: every path below names
# this project's own directories, never the top-level build's.
set(NUPO_SOURCE_ROOT ${PROJECT_SOURCE_DIR})
set(NUPO_BINARY_ROOT ${PROJECT_BINARY_DIR})

# nupo_sources(<core|gl|ui> file...)
function(nupo_sources layer)
  if(NOT layer MATCHES "^(core|gl|ui)$")
    message(FATAL_ERROR "nupo_sources: unknown layer '${layer}'")
  endif()
  target_sources(nupo_${layer} PRIVATE ${ARGN})
endfunction()

# Adds every CMakeLists.txt found below <dir> (any depth) as a subdirectory, in path order.
function(nupo_add_subfolders dir)
  file(GLOB_RECURSE lists RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*/CMakeLists.txt)
  list(SORT lists)
  foreach(list ${lists})
    get_filename_component(sub ${list} DIRECTORY)
    add_subdirectory(${dir}/${sub} ${CMAKE_CURRENT_BINARY_DIR}/${sub})
  endforeach()
endfunction()

# nupo_test(<name> LABEL <core|gl|ui> [WINDOW] SOURCES file... [LIBS lib...])
# core tests run with a QCoreApplication, gl tests with a QGuiApplication (offscreen), ui tests with a
# QApplication (offscreen unless the test sets another platform). Each GoogleTest case is its own CTest
# test, so process-wide state starts fresh in every case.
# WINDOW (ui only): tests that need real GL windows. They run on the X display when DISPLAY is set (as
# under scripts/test.sh, inside xvfb-run) and offscreen otherwise, where they skip what needs GL.
function(nupo_test name)
  cmake_parse_arguments(T "WINDOW" "LABEL" "SOURCES;LIBS" ${ARGN})
  set(main ${NUPO_SOURCE_ROOT}/tests/support/main_${T_LABEL}.cpp)
  set(platform "QT_QPA_PLATFORM=offscreen;")
  if(T_WINDOW)
    set(main ${NUPO_SOURCE_ROOT}/tests/support/main_ui_window.cpp)
    set(platform "")
  endif()
  add_executable(${name} ${T_SOURCES} ${main})
  target_link_libraries(${name} PRIVATE nupo_${T_LABEL} nupo_test_support GTest::gtest GTest::gmock ${T_LIBS})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "${platform}NUPO_SOURCE_DIR=${NUPO_SOURCE_ROOT}"
    DISCOVERY_TIMEOUT 60)
endfunction()
