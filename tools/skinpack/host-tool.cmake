# The skin packer runs on the build machine and turns assets/skin into the
# skin file the program embeds. Natively it is an ordinary target; in the
# cross build it is built with the host compiler as an external project.
#
# Result: target `skin_file`, and the file's path in the global property and
# cache variable SONDRELK_SKIN_FILE (unset when the assets are incomplete).

set(_skinpack_dir ${CMAKE_CURRENT_LIST_DIR})
set(_skin_assets ${PROJECT_SOURCE_DIR}/assets/skin)
set(_skin_list ${_skin_assets}/package.lst)
set(_skin_out ${CMAKE_BINARY_DIR}/skin/iridium.skn)

if(NOT CMAKE_CROSSCOMPILING)
  set(SONDRELK_SRC ${PROJECT_SOURCE_DIR}/src)
  include(${_skinpack_dir}/skinpack-sources.cmake)
  add_executable(skinpack ${SKINPACK_SOURCES})
  target_include_directories(skinpack PRIVATE ${SONDRELK_SRC} ${_skinpack_dir})
  set(_skinpack_cmd $<TARGET_FILE:skinpack>)
  set(_skinpack_dep skinpack)
else()
  include(ExternalProject)
  set(_host_bin ${CMAKE_BINARY_DIR}/skinpack-host)
  find_program(SONDRELK_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
  ExternalProject_Add(skinpack_host
    SOURCE_DIR ${_skinpack_dir}
    BINARY_DIR ${_host_bin}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${SONDRELK_HOST_CXX}
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${_host_bin}/skinpack
    BUILD_ALWAYS ON)
  set(_skinpack_cmd ${_host_bin}/skinpack)
  set(_skinpack_dep skinpack_host)
endif()

file(STRINGS ${_skin_list} _skin_names)
set(_skin_inputs ${_skin_list})
set(_skin_missing)
foreach(n ${_skin_names})
  if(EXISTS ${_skin_assets}/${n})
    list(APPEND _skin_inputs ${_skin_assets}/${n})
  else()
    list(APPEND _skin_missing ${n})
  endif()
endforeach()

if(_skin_missing)
  message(STATUS "Skin file not built; assets/skin lacks: ${_skin_missing}")
  unset(SONDRELK_SKIN_FILE CACHE)
  set_property(GLOBAL PROPERTY SONDRELK_SKIN_FILE "")
else()
  add_custom_command(OUTPUT ${_skin_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/skin
    COMMAND ${_skinpack_cmd} ${_skin_list} ${_skin_assets} ${_skin_out}
    DEPENDS ${_skinpack_dep} ${_skin_inputs}
    COMMENT "Packing the skin file"
    VERBATIM)
  add_custom_target(skin_file DEPENDS ${_skin_out})
  set(SONDRELK_SKIN_FILE ${_skin_out} CACHE INTERNAL "The packed skin file")
  set_property(GLOBAL PROPERTY SONDRELK_SKIN_FILE ${_skin_out})
endif()
