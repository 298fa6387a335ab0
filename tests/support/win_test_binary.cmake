# A test binary of real windows: the shared gtest main, its sources and
# libraries; SKINS adds the skinned styles' resources; RC adds a resource
# script that includes the files of RC_DEPENDS (paths or globs) and so is
# rebuilt when one of them changes. Nothing in the native build.
#   hv_win_test(name SOURCES a.cpp b.cpp LIBS lib... [SKINS] [RC x.rc RC_DEPENDS files...])
function(hv_win_test name)
  if(HV_NATIVE)
    return()
  endif()
  cmake_parse_arguments(T "SKINS" "RC" "SOURCES;LIBS;RC_DEPENDS" ${ARGN})
  set(sources ${CMAKE_SOURCE_DIR}/tests/support/win_test_main.cpp ${T_SOURCES} ${T_RC})
  if(T_SKINS)
    list(APPEND sources ${CMAKE_SOURCE_DIR}/resources/skins.rc)
  endif()
  hv_add_test_binary(${name} SOURCES ${sources} LIBS ${T_LIBS})
  if(T_RC)
    file(GLOB included CONFIGURE_DEPENDS ${T_RC_DEPENDS})
    set_source_files_properties(${T_RC} PROPERTIES INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/resources
      OBJECT_DEPENDS "${included}")
  endif()
endfunction()
