# The two set-up commands of the README:
#   make run    installs what is missing, builds and starts the workbench
#   make test   installs what is missing, builds and runs every test
# Further targets: make build, make asan-test, make bench, make fuzz, make soak.

PRESET ?= default
CTEST_ARGS ?=
FUZZ_SECONDS ?= 60

.PHONY: deps build test run asan-test bench fuzz fuzz-merge clean

deps:
	@./scripts/install-deps

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET) $(CTEST_ARGS)

run: build
	@./scripts/run-workbench build/$(PRESET)

asan-test:
	$(MAKE) test PRESET=asan

bench: build
	@for b in build/$(PRESET)/bench/bench_*; do echo "== $$b"; "$$b" --benchmark_min_time=0.2; done

# Fuzzes the graph file reader for FUZZ_SECONDS seconds, starting from the
# seeds in fuzz/corpus. New inputs collect in build/fuzz/corpus, crashes and
# hangs in build/fuzz/artifacts; fuzz-merge folds the new inputs that add
# coverage back into fuzz/corpus.
FUZZER = build/fuzz/fuzz/fuzz_load_graph
FUZZ_FLAGS = -dict=fuzz/graph_file.dict -max_len=4096 -timeout=20 -rss_limit_mb=4096 \
	-artifact_prefix=build/fuzz/artifacts/

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz --target fuzz_load_graph
	mkdir -p build/fuzz/corpus build/fuzz/artifacts
	$(FUZZER) $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build/fuzz/corpus fuzz/corpus

fuzz-merge:
	mkdir -p build/fuzz/merged
	$(FUZZER) $(FUZZ_FLAGS) -merge=1 build/fuzz/merged fuzz/corpus build/fuzz/corpus

clean:
	rm -rf build
