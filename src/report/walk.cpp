// The walk: every adapter DXGI enumerates and every output of each, in order, until the end
// of the enumeration or the first failure. What a block looks like is the report text's job.

#include <d3d11.h>
#include <dxgi1_6.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "console/console_pause.h"
#include "report/report_text.h"
#include "report/whole_write.h"

namespace {

// Every platform object the run holds; each slot is empty or holds one counted reference.
struct reference_slots {
    IDXGIFactory5* factory;
    IDXGIAdapter1* adapter;
    ID3D11Device* device;
    IDXGIOutput* output;
    IDXGIOutput6* output6;
};

template <typename Interface>
void release_and_clear(Interface** slot)
{
    if (*slot != nullptr) {
        (*slot)->Release();
    }
    *slot = nullptr;
}

unsigned status_bits(HRESULT status)
{
    return static_cast<uint32_t>(status);
}

// Visits the outputs of the adapter in `slots->adapter`. False when a failure line was written.
bool walk_outputs(reference_slots* slots)
{
    DXGI_OUTPUT_DESC1 output_desc;
    DXGI_MODE_DESC1 mode_to_match;
    DXGI_MODE_DESC1 closest_match;
    for (int output_index = 0;; ++output_index) {
        HRESULT status = slots->adapter->EnumOutputs(static_cast<UINT>(output_index), &slots->output);
        // NOT_FOUND ends the enumeration and is itself negative, so it is tested first.
        if (status == DXGI_ERROR_NOT_FOUND) {
            return true;
        }
        if (FAILED(status)) {
            write_whole(stderr, "Failed get output: 0x%08x\n", status_bits(status));
            return false;
        }
        status = slots->output->QueryInterface(IID_IDXGIOutput6, reinterpret_cast<void**>(&slots->output6));
        if (FAILED(status)) {
            write_whole(stderr, "DXGI 1.6 not supported: 0x%08x\n", status_bits(status));
            return false;
        }
        // The fill's status is not examined: a fill that does nothing shows as zeros.
        memset(&output_desc, 0, sizeof output_desc);
        slots->output6->GetDesc1(&output_desc);
        print_output_block(output_index, &output_desc);
        if (slots->device != nullptr) {
            // An all-zero mode to match asks for the output's current desktop mode.
            memset(&mode_to_match, 0, sizeof mode_to_match);
            memset(&closest_match, 0, sizeof closest_match);
            slots->output6->FindClosestMatchingMode1(&mode_to_match, &closest_match, slots->device);
            print_desktop_mode(closest_match.Format);
        }
        release_and_clear(&slots->output);
        release_and_clear(&slots->output6);
    }
}

// Visits every adapter. True when the enumeration ended normally; false when a failure line
// was written.
bool walk_adapters(reference_slots* slots)
{
    HRESULT status = CreateDXGIFactory1(IID_IDXGIFactory5, reinterpret_cast<void**>(&slots->factory));
    if (FAILED(status)) {
        write_whole(stderr, "Failed to create DXGI factory: 0x%08x\n", status_bits(status));
        return false;
    }
    DXGI_ADAPTER_DESC1 adapter_desc;
    for (int adapter_index = 0;; ++adapter_index) {
        status = slots->factory->EnumAdapters1(static_cast<UINT>(adapter_index), &slots->adapter);
        if (status == DXGI_ERROR_NOT_FOUND) {
            return true;
        }
        if (FAILED(status)) {
            write_whole(stderr, "Failed get adapter: 0x%08x\n", status_bits(status));
            return false;
        }
        memset(&adapter_desc, 0, sizeof adapter_desc);
        slots->adapter->GetDesc1(&adapter_desc);
        print_adapter_block(adapter_index, &adapter_desc);
        // The device only serves the desktop-mode search; without one that line is left out.
        D3D11CreateDevice(slots->adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, nullptr, 0,
                          D3D11_SDK_VERSION, &slots->device, nullptr, nullptr);
        if (!walk_outputs(slots)) {
            return false;
        }
        release_and_clear(&slots->adapter);
        release_and_clear(&slots->device);
    }
}

// A report that did not reach its destination (a full disk, a closed pipe) is a failed run.
bool report_was_written()
{
    return fflush(stdout) == 0 && ferror(stdout) == 0;
}

} // namespace

int main()
{
    // Before anything is written, so that each text leaves in one system write.
    buffer_standard_streams();
    reference_slots slots = {nullptr, nullptr, nullptr, nullptr, nullptr};
    const bool walk_complete = walk_adapters(&slots);

    release_and_clear(&slots.factory);
    release_and_clear(&slots.adapter);
    release_and_clear(&slots.device);
    release_and_clear(&slots.output);
    release_and_clear(&slots.output6);

    const bool report_written = report_was_written();
    // A walk cut short has already written its one failure line.
    if (!report_written && walk_complete) {
        write_whole(stderr, "Failed to write report\n");
    }
    maybe_pause();
    return walk_complete && report_written ? 0 : 1;
}
