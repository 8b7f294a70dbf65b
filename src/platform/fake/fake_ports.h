#pragma once
// Every fake in one place: a test builds FakePorts and hands ports() to the
// core, then drives and inspects the fakes it needs.

#include <type_traits>

#include "app/ports.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_folder_watch.h"
#include "platform/fake/fake_http.h"
#include "platform/fake/fake_ini_files.h"
#include "platform/fake/fake_main_view.h"
#include "platform/fake/fake_network.h"
#include "platform/fake/fake_process_memory.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_sound.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_windows.h"

namespace tarmacia::platform::fake {

// Real adapters a test puts in place of some fakes (integration tests).
struct RealPorts {
    platform::Network* network = nullptr;
    platform::WindowSystem* windows = nullptr;
    platform::Launcher* launcher = nullptr;
    platform::ProcessTable* processes = nullptr;
    platform::ProcessMemory* memory = nullptr;
    app::MainView* view = nullptr;
};

struct FakePorts {
    FakeClock clock;
    FakeNetwork network;
    FakeDialogs dialogs;
    FakeWindowSystem windows;
    FakeAppControl app;
    FakeFolders folders;
    FakeRegistry registry;
    FakeHostsFile hosts;
    FakeIniFiles ini;
    FakeHttpGet http;
    FakeSound sound;
    FakeFolderWatch folderWatch;
    FakeProcessTable processes;
    FakeLauncher launcher{&processes};
    FakeWindowList desktopWindows;
    FakeProcessMemory memory;
    FakeMainView view;

    app::Ports ports(const RealPorts& real = {}) {
        return {clock, pick(real.network, network), dialogs, pick(real.windows, windows), app,
                folders, registry, hosts, ini, http, sound, folderWatch,
                pick(real.launcher, launcher), pick(real.processes, processes), desktopWindows,
                pick(real.memory, memory), pick(real.view, view)};
    }

private:
    template <class Port>
    static Port& pick(Port* real, std::type_identity_t<Port>& fake) { return real ? *real : fake; }
};

} // namespace tarmacia::platform::fake
