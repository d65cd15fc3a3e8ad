# Benchmarks: built with the program but never run as tests.
#   cmake --build build --target scrivo_bench_lexer && build/scrivo_bench_lexer
add_executable(scrivo_bench_lexer bench/lexer_bench.cpp)
target_link_libraries(scrivo_bench_lexer PRIVATE scrivo_core)
