#pragma once

#include "platform/process_table.h"

#include <filesystem>

namespace tarmacia::platform::os {

// Reads /proc; `proc` can point elsewhere for tests of the parsing.
class ProcProcessTable : public ProcessTable {
public:
    explicit ProcProcessTable(std::filesystem::path proc = "/proc") : proc_(std::move(proc)) {}
    std::vector<Process> list() const override;

private:
    bool sendTerminate(int pid) override;
    bool isAlive(int pid) const override;

    std::filesystem::path proc_;
};

} // namespace tarmacia::platform::os
