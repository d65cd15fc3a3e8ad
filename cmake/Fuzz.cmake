# Fuzz targets (fuzz/*.cpp), built with clang's libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer in a configuration of their
# own (SCRIVO_FUZZ=ON, CMAKE_CXX_COMPILER=clang++; `make fuzz` sets it up).
#
# Clang takes only UTF-8 as execution character set, so it cannot compile
# the sources with -fexec-charset=CP932. The library is compiled from copies
# of src/ in which scrivo_cp932lit has replaced every non-ASCII character of
# a literal by octal escapes of its code page 932 bytes: the same bytes GCC
# puts in the program (fuzz/check-literals.sh compares the objects).

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "SCRIVO_FUZZ needs clang++ (CMAKE_CXX_COMPILER=clang++)")
endif()

add_executable(scrivo_cp932lit fuzz/tools/Cp932Literals.cpp)

set(FUZZ_GEN ${CMAKE_BINARY_DIR}/cp932/src)
file(GLOB_RECURSE FUZZ_ORIGINALS CONFIGURE_DEPENDS
     RELATIVE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
list(FILTER FUZZ_ORIGINALS EXCLUDE REGEX "_win32\\.(cpp|h)$")
list(FILTER FUZZ_ORIGINALS EXCLUDE REGEX "^app/main\\.cpp$")

set(FUZZ_GENERATED)
set(FUZZ_LIB_SOURCES)
foreach(rel ${FUZZ_ORIGINALS})
  set(out ${FUZZ_GEN}/${rel})
  get_filename_component(dir ${out} DIRECTORY)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND scrivo_cp932lit ${CMAKE_SOURCE_DIR}/src/${rel} ${out}
    DEPENDS ${CMAKE_SOURCE_DIR}/src/${rel} scrivo_cp932lit
    COMMENT "code page 932 literals: ${rel}"
    VERBATIM)
  list(APPEND FUZZ_GENERATED ${out})
  if(rel MATCHES "\\.cpp$")
    list(APPEND FUZZ_LIB_SOURCES ${out})
  endif()
endforeach()
add_custom_target(scrivo_fuzz_sources DEPENDS ${FUZZ_GENERATED})

set(FUZZ_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined
                  -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -g -O1)

add_library(scrivo_fuzz_core STATIC ${FUZZ_LIB_SOURCES})
add_dependencies(scrivo_fuzz_core scrivo_fuzz_sources)
target_include_directories(scrivo_fuzz_core PUBLIC ${FUZZ_GEN})
target_compile_options(scrivo_fuzz_core PUBLIC ${FUZZ_SANITIZE} -fsanitize=fuzzer-no-link)
target_link_options(scrivo_fuzz_core PUBLIC ${FUZZ_SANITIZE})

add_library(scrivo_fuzz_support STATIC fuzz/FuzzSupport.cpp)
target_link_libraries(scrivo_fuzz_support PUBLIC scrivo_fuzz_core)

file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)
foreach(src ${FUZZ_TARGETS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE scrivo_fuzz_support)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()
