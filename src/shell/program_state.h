// The whole program back to the state a fresh process starts in, module by module. Each module
// keeps its own reset beside its variables; this is the one place that calls them all, so that
// a test starts a fresh program with one call.
#pragma once

void ResetProgramState();
