# The two set-up commands of the README:
#   make run    installs what is missing, builds and starts the workbench
#   make test   installs what is missing, builds and runs every test
# Further targets: make build, make asan-test, make bench, make fuzz, make fuzz-3d, make soak.

PRESET ?= default
CTEST_ARGS ?=
FUZZ_SECONDS ?= 60
SOAK_SECONDS ?= 600

.PHONY: deps build test run asan-test bench fuzz fuzz-merge fuzz-3d fuzz-3d-merge soak clean

deps:
	@./scripts/install-deps

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET) $(CTEST_ARGS)

# The window and cyclorn-cli only: the tests and benchmarks wait for make test.
run: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) --target cyclorn cyclorn-cli
	@./scripts/run-workbench build/$(PRESET)

asan-test:
	$(MAKE) test PRESET=asan

bench: build
	@for b in $$(find build/$(PRESET)/bench -type f -perm -u+x -name 'bench_*' | sort); do echo "== $$b"; "$$b" --benchmark_min_time=0.2; done

# Fuzzes the graph file reader for FUZZ_SECONDS seconds, starting from the
# seeds in fuzz/corpus. New inputs collect in build/fuzz/corpus, crashes and
# hangs in build/fuzz/artifacts; fuzz-merge adds to fuzz/corpus the few new
# inputs that reach code the corpus does not (edges, not hit counts).
FUZZER = build/fuzz/fuzz/fuzz_load_graph
FUZZ_FLAGS = -dict=fuzz/graph_file.dict -max_len=4096 -timeout=20 -rss_limit_mb=4096 \
	-artifact_prefix=build/fuzz/artifacts/

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz --target fuzz_load_graph
	mkdir -p build/fuzz/corpus build/fuzz/artifacts
	$(FUZZER) $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build/fuzz/corpus fuzz/corpus

fuzz-merge:
	$(FUZZER) $(FUZZ_FLAGS) -use_counters=0 -merge=1 fuzz/corpus build/fuzz/corpus

# The same for the reader of .3d survey files, from the seeds in fuzz/corpus-3d.
FUZZER_3D = build/fuzz/fuzz/fuzz_read_3d
FUZZ_3D_FLAGS = -dict=fuzz/three_d.dict -max_len=4096 -timeout=20 -rss_limit_mb=4096 \
	-artifact_prefix=build/fuzz/artifacts-3d/

fuzz-3d: deps
	cmake --preset fuzz
	cmake --build --preset fuzz --target fuzz_read_3d
	mkdir -p build/fuzz/corpus-3d build/fuzz/artifacts-3d
	$(FUZZER_3D) $(FUZZ_3D_FLAGS) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build/fuzz/corpus-3d fuzz/corpus-3d

fuzz-3d-merge:
	$(FUZZER_3D) $(FUZZ_3D_FLAGS) -use_counters=0 -merge=1 fuzz/corpus-3d build/fuzz/corpus-3d

# Random commands, hostile files and failing saves for SOAK_SECONDS seconds
# in the asan build, first on the libraries, then on the real window
# (offscreen) with loads, exports and display changes among the commands:
# any error, leak or growth of memory fails it.
soak: deps
	cmake --preset asan
	cmake --build --preset asan --target cyclorn_soak cyclorn_app_tests
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=16 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	build/asan/tests/soak/cyclorn_soak --seconds $(SOAK_SECONDS) --hostile tests/sources/hostile
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=16 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	QT_QPA_PLATFORM=offscreen CYCLORN_TEST_DATA=$(CURDIR)/tests/app CYCLORN_RANDOM_SECONDS=$(SOAK_SECONDS) \
	build/asan/tests/app/cyclorn_app_tests --gtest_filter='RandomCommands.*'

clean:
	rm -rf build
