// The entry of every tool: whatever gets past the tool's own checks (memory
// running out) ends with one line naming the tool and status 1, never an abort.
#pragma once
#include <cstdio>
#include <exception>

inline int run_tool_main(const char* name, int (*run)(int, char**), int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        fprintf(stderr, "%s: %s\n", name, e.what());
        return 1;
    }
}
