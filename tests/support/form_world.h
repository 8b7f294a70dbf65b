#pragma once
// The main form over fakes, with a temporary home. The folders are placed
// before the form exists: it places its log and client folder from them.

#include "app/main_form.h"
#include "platform/fake/fake_ports.h"
#include "support/temp_dir.h"

namespace tarmacia::test {

struct FormWorld {
    TempDir home;
    platform::fake::FakePorts fakes;

private:
    struct Folders {
        Folders(platform::fake::FakePorts& fakes, const TempDir& home) {
            fakes.folders.documentsPath = home / "Documents";
            fakes.folders.programPath = home / "program";
        }
    } folders_{fakes, home};

public:
    app::MainForm form{fakes.ports()};
};

} // namespace tarmacia::test
