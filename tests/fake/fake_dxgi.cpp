// Fake DXGI and Direct3D 11: the factory, adapters, outputs, their IDXGIOutput6 views and
// devices of the installed machine. Object names in the trace: "factory", "adapter A",
// "device A", "output A.O" and "output6 A.O".

#include "fake/fake_state.h"

#include <string.h>

#include <memory>
#include <string>

// The platform's published interface identifiers.
extern "C" const IID IID_IDXGIFactory5 = {
    0x7632e1f5, 0xee65, 0x4dca, {0x87, 0xfd, 0x84, 0xcd, 0x75, 0xf8, 0x83, 0x8d}};
extern "C" const IID IID_IDXGIOutput6 = {
    0x068346e8, 0xaaec, 0x4b84, {0xad, 0xd7, 0x13, 0x7f, 0x51, 0x3f, 0x77, 0xa1}};

namespace fake {
namespace {

bool same_iid(REFIID a, REFIID b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

std::string iid_name(REFIID iid)
{
    if (same_iid(iid, IID_IDXGIFactory5)) {
        return "IID_IDXGIFactory5";
    }
    if (same_iid(iid, IID_IDXGIOutput6)) {
        return "IID_IDXGIOutput6";
    }
    return "another IID";
}

std::string name_of(IUnknown* object)
{
    if (object == nullptr) {
        return "nothing";
    }
    const fake_object* known = dynamic_cast<const fake_object*>(object);
    return known != nullptr ? known->name : "a foreign object";
}

// Hands `object` out through `slot` and keeps it for the release checks.
template <typename Object, typename Interface>
void hand_out(std::unique_ptr<Object> object, Interface** slot)
{
    *slot = object.get();
    keep(std::move(object));
}

void check_zeroed(const std::string& call, const void* record, size_t size, const char* what)
{
    if (!all_zero_bytes(record, size)) {
        record_fault(call + ": " + what + " was not all zero bytes");
    }
}

// GetDesc1 of an adapter or an output: the record must arrive all zero; it is filled with the
// machine's description unless the fill is scripted to do nothing.
template <typename Record>
HRESULT get_desc1(const fake_object& object, Record* record, const Record& contents, bool fills, const char* what)
{
    const std::string call = object.name + ".GetDesc1";
    record_call(call);
    check_alive(object, "GetDesc1");
    check_zeroed(call, record, sizeof *record, what);
    if (!fills) {
        return E_FAIL;
    }
    *record = contents;
    return S_OK;
}

struct fake_device_object : counted<ID3D11Device> {
    using counted::counted;
};

struct fake_output6_object : counted<IDXGIOutput6> {
    fake_output6_object(std::string object_name, const fake_output& spec)
        : counted(std::move(object_name)), output(spec)
    {
    }

    HRESULT GetDesc1(DXGI_OUTPUT_DESC1* desc) override
    {
        return get_desc1(*this, desc, output.desc, output.fills_desc, "the output description");
    }

    HRESULT FindClosestMatchingMode1(const DXGI_MODE_DESC1* mode_to_match,
                                     DXGI_MODE_DESC1* closest_match,
                                     IUnknown* concerned_device) override
    {
        const std::string call = name + ".FindClosestMatchingMode1 " + name_of(concerned_device);
        record_call(call);
        check_alive(*this, "FindClosestMatchingMode1");
        check_zeroed(call, mode_to_match, sizeof *mode_to_match, "the mode to match");
        check_zeroed(call, closest_match, sizeof *closest_match, "the closest-match record");
        if (!output.mode_search_writes) {
            return E_NOTIMPL;
        }
        closest_match->Width = 1920;
        closest_match->Height = 1080;
        closest_match->RefreshRate = {60, 1};
        closest_match->Format = output.mode_format;
        closest_match->ScanlineOrdering = DXGI_MODE_SCANLINE_ORDER_PROGRESSIVE;
        return S_OK;
    }

    fake_output output;
};

struct fake_output_object : counted<IDXGIOutput> {
    fake_output_object(std::string view_id, const fake_output& spec)
        : counted("output " + view_id), id(std::move(view_id)), output(spec)
    {
    }

    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        record_call(name + ".QueryInterface " + iid_name(iid));
        check_alive(*this, "QueryInterface");
        *object = nullptr;
        if (!same_iid(iid, IID_IDXGIOutput6)) {
            return E_NOINTERFACE;
        }
        if (FAILED(output.query_status)) {
            return output.query_status;
        }
        IDXGIOutput6* view = nullptr;
        hand_out(std::make_unique<fake_output6_object>("output6 " + id, output), &view);
        *object = view;
        return output.query_status;
    }

    std::string id;
    fake_output output;
};

struct fake_adapter_object : counted<IDXGIAdapter1> {
    fake_adapter_object(int index, const fake_adapter& spec)
        : counted("adapter " + std::to_string(index)), adapter_index(index), adapter(spec)
    {
    }

    HRESULT EnumOutputs(UINT output_index, IDXGIOutput** output) override
    {
        record_call(name + ".EnumOutputs " + std::to_string(output_index));
        check_alive(*this, "EnumOutputs");
        *output = nullptr;
        if (output_index >= adapter.outputs.size()) {
            return adapter.outputs_end_status;
        }
        const fake_output& spec = adapter.outputs[output_index];
        if (FAILED(spec.enum_status)) {
            return spec.enum_status;
        }
        const std::string id = std::to_string(adapter_index) + "." + std::to_string(output_index);
        hand_out(std::make_unique<fake_output_object>(id, spec), output);
        return spec.enum_status;
    }

    HRESULT GetDesc1(DXGI_ADAPTER_DESC1* desc) override
    {
        return get_desc1(*this, desc, adapter.desc, adapter.fills_desc, "the adapter description");
    }

    int adapter_index;
    fake_adapter adapter;
};

struct fake_factory_object : counted<IDXGIFactory5> {
    using counted::counted;

    HRESULT EnumAdapters1(UINT adapter_index, IDXGIAdapter1** adapter) override
    {
        record_call(name + ".EnumAdapters1 " + std::to_string(adapter_index));
        check_alive(*this, "EnumAdapters1");
        *adapter = nullptr;
        const fake_machine& spec = machine();
        if (adapter_index >= spec.adapters.size()) {
            return spec.adapters_end_status;
        }
        const fake_adapter& adapter_spec = spec.adapters[adapter_index];
        if (FAILED(adapter_spec.enum_status)) {
            return adapter_spec.enum_status;
        }
        hand_out(std::make_unique<fake_adapter_object>(static_cast<int>(adapter_index), adapter_spec),
                 adapter);
        return adapter_spec.enum_status;
    }
};

} // namespace
} // namespace fake

extern "C" HRESULT CreateDXGIFactory1(REFIID riid, void** factory)
{
    fake::record_call("CreateDXGIFactory1 " + fake::iid_name(riid));
    *factory = nullptr;
    const HRESULT status = fake::machine().factory_status;
    if (FAILED(status)) {
        return status;
    }
    IDXGIFactory5* made = nullptr;
    fake::hand_out(std::make_unique<fake::fake_factory_object>("factory"), &made);
    *factory = made;
    return status;
}

extern "C" HRESULT D3D11CreateDevice(IDXGIAdapter* adapter,
                                     D3D_DRIVER_TYPE driver_type,
                                     HMODULE software,
                                     UINT flags,
                                     const D3D_FEATURE_LEVEL* feature_levels,
                                     UINT feature_level_count,
                                     UINT sdk_version,
                                     ID3D11Device** device,
                                     D3D_FEATURE_LEVEL* chosen_feature_level,
                                     ID3D11DeviceContext** immediate_context)
{
    const std::string adapter_name = fake::name_of(adapter);
    fake::record_call("D3D11CreateDevice " + adapter_name);
    fake::mutable_trace().device_requests.push_back(
        {adapter_name, driver_type, software, flags, feature_levels, feature_level_count, sdk_version,
         device != nullptr, chosen_feature_level != nullptr, immediate_context != nullptr});
    if (device == nullptr) {
        return E_FAIL;
    }
    *device = nullptr;
    const fake::fake_adapter_object* known = dynamic_cast<const fake::fake_adapter_object*>(adapter);
    if (known == nullptr || known->adapter.device_fails) {
        return E_FAIL;
    }
    fake::hand_out(std::make_unique<fake::fake_device_object>("device " + std::to_string(known->adapter_index)),
                   device);
    return S_OK;
}
