#pragma once

// The scriptable fake platform: a test describes a machine (adapters, outputs, their records
// and the status of every call the walk relies on), installs it, runs nitscope, and reads back
// the trace of every platform call the program made.

#include <d3d11.h>
#include <dxgi1_6.h>
#include <windows.h>

#include <string>
#include <vector>

struct fake_output {
    DXGI_OUTPUT_DESC1 desc{};
    // When false, GetDesc1 writes nothing and fails.
    bool fills_desc = true;
    // What EnumOutputs returns at this output's index; non-negative hands the output out.
    HRESULT enum_status = S_OK;
    // What QueryInterface for IDXGIOutput6 returns; non-negative hands the view out.
    HRESULT query_status = S_OK;
    // When false, FindClosestMatchingMode1 writes nothing and returns E_NOTIMPL.
    bool mode_search_writes = true;
    DXGI_FORMAT mode_format = DXGI_FORMAT_B8G8R8A8_UNORM;
};

struct fake_adapter {
    DXGI_ADAPTER_DESC1 desc{};
    bool fills_desc = true;
    HRESULT enum_status = S_OK;
    // When true, D3D11CreateDevice on this adapter fails and leaves the device slot empty.
    bool device_fails = false;
    std::vector<fake_output> outputs;
    // What EnumOutputs returns at the index past the last output.
    HRESULT outputs_end_status = DXGI_ERROR_NOT_FOUND;
};

enum class console_window { none, of_other_process, of_this_process };

struct fake_machine {
    HRESULT factory_status = S_OK;
    std::vector<fake_adapter> adapters;
    // What EnumAdapters1 returns at the index past the last adapter.
    HRESULT adapters_end_status = DXGI_ERROR_NOT_FOUND;
    console_window console = console_window::none;
};

// The arguments of one D3D11CreateDevice call.
struct device_request {
    std::string adapter;
    D3D_DRIVER_TYPE driver_type;
    HMODULE software;
    UINT flags;
    const D3D_FEATURE_LEVEL* feature_levels;
    UINT feature_level_count;
    UINT sdk_version;
    bool device_slot_given;
    bool chosen_feature_level_given;
    bool immediate_context_given;
};

struct flushed_text {
    bool to_stderr;
    std::string text;
};

struct fake_trace {
    // Every platform call in order, as "object.Method argument" (see fake_dxgi.cpp for names).
    std::vector<std::string> calls;
    // Contract breaches the fake noticed: unreleased or over-released references, calls on
    // released objects, records that were not all zero bytes when the platform was asked to
    // fill them, an owner identifier that was not 0 before the owner query.
    std::vector<std::string> faults;
    std::vector<device_request> device_requests;
    // Every text handed to standard output, one entry a call.
    std::vector<std::string> stdout_writes;
    // What each flush passed on to the system, in order across both streams: the texts handed
    // to that stream since its flush before.
    std::vector<flushed_text> flushes;
    // The texts handed to each stream and not flushed yet.
    std::string stdout_pending;
    std::string stderr_pending;
    // What the files behind standard output and standard error held at each console key read.
    std::vector<std::string> stdout_at_key_read;
    std::vector<std::string> stderr_at_key_read;
};

// Replaces the platform with `machine` and clears the trace.
void install_fake_machine(const fake_machine& machine);

// Notes every object still referenced as a fault; call after the program has returned.
void check_all_released();

const fake_trace& trace();

// The texts each flush of standard output (or, with `to_stderr`, standard error) passed on.
std::vector<std::string> flushed_texts(bool to_stderr = false);

// The trace's calls that contain `fragment`, in order (".Release" gives every release).
std::vector<std::string> calls_containing(const std::string& fragment);
