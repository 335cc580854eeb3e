#pragma once

// Fake machines several host tests share.

#include "fake/fake_machine.h"
#include "host/records.h"

// One adapter driving one HDR output: the machine whose report is example_report().
inline fake_machine example_machine(console_window console = console_window::none)
{
    fake_output output;
    output.desc = example_output_desc();
    output.mode_format = DXGI_FORMAT_R10G10B10A2_UNORM;
    fake_adapter adapter;
    adapter.desc = example_adapter_desc();
    adapter.outputs = {output};
    fake_machine machine;
    machine.adapters = {adapter};
    machine.console = console;
    return machine;
}
