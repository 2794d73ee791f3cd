# One interface target carries the language standard, the warnings and the
# Qt defines; every library, program, test and benchmark links it.
add_library(cyclorn_options INTERFACE)
target_compile_features(cyclorn_options INTERFACE cxx_std_20)
set_target_properties(cyclorn_options PROPERTIES INTERFACE_CXX_EXTENSIONS OFF)
target_compile_options(cyclorn_options INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast
  $<$<BOOL:${CYCLORN_WERROR}>:-Werror>)
target_compile_definitions(cyclorn_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)
target_include_directories(cyclorn_options INTERFACE ${PROJECT_SOURCE_DIR})

# cyclorn_add_library(name SOURCES...): a static library of one folder.
function(cyclorn_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC cyclorn_options)
endfunction()
