# SPDX-License-Identifier: MIT
# make run  - installs what is missing, builds and starts the game
# make test - installs what is missing, builds and runs every test
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps build run test clean

# The test build turns every compiler warning into an error, so a warning
# fails CI; the build for playing only reports them.
WERROR ?= OFF

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELMOR_WERROR=$(WERROR)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/zelmor

test: WERROR = ON
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
