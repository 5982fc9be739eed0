#pragma once
// The simulated device behind a fake port on a fake clock, with a link, a
// recorded link end and scripted dialogs: everything a test of a window
// needs to check the frames that reach the device.
#include <optional>
#include <string>
#include <vector>

#include "devlink/device_link.h"
#include "sim/fault_injector.h"
#include "sim/sim_device.h"
#include "support/fake_port.h"
#include "support/fake_port_factory.h"
#include "support/recording_link_end.h"
#include "support/scripted_dialogs.h"

namespace testing_support {

inline constexpr char kSimPortName[] = "/dev/qrn-sim";

class SimRig {
public:
    // The device sits at `devicePort`; the other 34 ports exist and are silent.
    explicit SimRig(int devicePort = 1);

    // Opens the device's port as the start-up would.
    void connect();
    // Frames written since the last call (or since the start), then forgets them.
    std::vector<Bytes> takeWrites();
    // Puts the device's next report on the line; false when nothing went out.
    bool deliverReport();
    // Plays these faults ("frame=80:mute", see sim/fault_script.h) from now
    // on, timed from the rig's start. A late answer arrives when the clock
    // reaches it; an unplug breaks the port at its next wait. Time triggers
    // fire at the first exchange at or after their time.
    void useFaults(const std::vector<std::string>& faults, std::uint32_t seed = 1);

    FakeClock clock;
    FakePort port{clock};
    // The port search's ports: the device answers on kSimPortName.
    FakePortFactory portFactory{port, clock};
    sim::DeviceMemory memory;
    sim::SimDevice device{memory};
    RecordingLinkEnd end;
    devlink::DeviceLink link;
    ScriptedDialogs dialogs;

private:
    Bytes putOnLine(FakePort& line, const std::vector<sim::FaultInjector::Output>& outputs);
    std::int64_t sinceStart() const { return clock.now - started_; }

    std::size_t taken_ = 0;
    std::int64_t started_ = clock.now;
    std::optional<sim::FaultInjector> faults_{std::in_place, device};
};

// "F0 5B 07 00 ..." for readable failure messages.
std::string Hex(const Bytes& bytes);
Bytes Frame(std::initializer_list<std::uint8_t> payload);

}  // namespace testing_support
