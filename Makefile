# The two set-up commands of the README:
#   make run    installs what is missing, builds and starts the workbench
#   make test   installs what is missing, builds and runs every test
# Further targets: make build, make asan-test, make bench.

PRESET ?= default
CTEST_ARGS ?=

.PHONY: deps build test run asan-test bench clean

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

clean:
	rm -rf build
