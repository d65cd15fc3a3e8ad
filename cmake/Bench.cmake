# Benchmarks: built with the program but never run as tests; `make bench`
# runs them.
add_executable(scrivo_bench_lexer bench/lexer_bench.cpp)
target_link_libraries(scrivo_bench_lexer PRIVATE scrivo_core)

if(NOT WIN32)
  add_executable(scrivo_bench_baseline bench/baseline.cpp)
  add_executable(scrivo_bench_pipeline bench/pipeline_bench.cpp bench/BenchRun.cpp
                                       bench/GenSource.cpp)
  add_executable(scrivo_bench_project bench/project_bench.cpp bench/BenchRun.cpp
                                      bench/GenProject.cpp bench/GenSource.cpp)
endif()

add_executable(scrivo_bench_links bench/links_bench.cpp bench/GenSource.cpp)
target_link_libraries(scrivo_bench_links PRIVATE scrivo_core)
