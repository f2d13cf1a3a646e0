#pragma once

#include <functional>

/**
 * Runs Work in a child process and tells whether it finished. Libraries that parse untrusted files may
 * abort or corrupt memory on a damaged one; a child that crashes takes only itself down, so the caller can
 * refuse the file instead. What Work throws counts as finished (the caller meets the same refusal when it
 * runs the work itself). The child's standard error is discarded. Where no child can be made, Work is
 * reported as finished and the caller runs it unprotected, as it would without this check.
 */
bool FinishesInChildProcess(const std::function<void()>& Work);
