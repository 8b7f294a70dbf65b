#pragma once
// Marks a step whose owner is not built yet. It does nothing and returns
// nothing, so no caller can mistake it for a result; grep for `pending(` to
// see what is still to come.

namespace tarmacia::app {

inline void pending(const char* /*capability*/) {}

} // namespace tarmacia::app
