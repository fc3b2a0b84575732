# Build helpers shared by every folder.

# tallowmere_library(<name> DIR <folder under src/> [DEPS <targets>...])
# One static library per folder; every .cpp under the folder belongs to it.
function(tallowmere_library name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${ARG_DIR}/*.cpp)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/src/${ARG_DIR}/${excluded})
  endforeach()
  if(NOT sources)
    # A folder whose first source has not landed yet still links.
    set(sources ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${sources} "")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# tallowmere_tests(<name> DIR <folder under tests/> [DEPS <targets>...] [LABELS <labels>...])
# One test program per folder from its *_test.cpp files, with the core
# fixture (tests that drive the desktop add tallowmere_test_desktop to DEPS); each test case is
# its own CTest entry so `ctest -j` spreads them over the cores.
function(tallowmere_tests name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS;LABELS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${ARG_DIR}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} tallowmere_test_core GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    TALLOWMERE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TALLOWMERE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set(properties TIMEOUT 120)
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()

# tallowmere_embed(<target> <symbol> <file>)
# Compiles <file> into <target> as `extern const std::string_view <symbol>`
# (namespace tallowmere::resources), so shipped data needs no file at run time.
function(tallowmere_embed target symbol file)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded_${symbol}.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${out} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed.cmake
    DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/embed.cmake
    COMMENT "Embedding ${file}")
  target_sources(${target} PRIVATE ${out})
endfunction()

# tallowmere_embed_bundle(<target> FILES <files>... [DEPENDS <targets>...])
# Compiles the files into <target> as the bundle's resources
# (tallowmere::resources::bundleResources), each named by its file name.
function(tallowmere_embed_bundle target)
  cmake_parse_arguments(ARG "" "" "FILES;DEPENDS" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded_bundleResources.cpp)
  string(REPLACE ";" "|" fileList "${ARG_FILES}")
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} "-DFILES=${fileList}" -DOUTPUT=${out}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_bundle.cmake
    DEPENDS ${ARG_FILES} ${ARG_DEPENDS} ${PROJECT_SOURCE_DIR}/cmake/embed_bundle.cmake
    COMMENT "Embedding the bundle's resources" VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()

# tallowmere_hosts_finder_extension(<executable>)
# The executable loads the Finder extension module, which takes the platform
# layer from it: the layer's symbols are exported for the module to bind to,
# and the module is built along with the executable.
function(tallowmere_hosts_finder_extension target)
  foreach(prefix _ZN10tallowmere8platform _ZNK10tallowmere8platform _ZTIN10tallowmere8platform
                 _ZTVN10tallowmere8platform _ZTSN10tallowmere8platform)
    target_link_options(${target} PRIVATE "LINKER:--export-dynamic-symbol=${prefix}*")
  endforeach()
  add_dependencies(${target} TallowbyFinderExtension)
endfunction()
