#pragma once

// What the fake's parts share: the installed machine, the trace, and counted objects.

#include "fake/fake_machine.h"

#include <memory>
#include <string>

namespace fake {

struct fake_object {
    explicit fake_object(std::string object_name) : name(std::move(object_name)) {}
    virtual ~fake_object() = default;
    std::string name;
    ULONG references = 1;
};

fake_machine& machine();
fake_trace& mutable_trace();
void record_call(const std::string& call);
void record_fault(const std::string& fault);

// Takes ownership; the object stays alive (and checkable) until the next install.
void keep(std::unique_ptr<fake_object> object);

// Notes a fault when `object` is used after its last reference was released.
void check_alive(const fake_object& object, const char* method);

bool all_zero_bytes(const void* record, size_t size);

// IUnknown for every fake interface: counted references and a logged Release.
template <typename Interface>
struct counted : Interface, fake_object {
    explicit counted(std::string object_name) : fake_object(std::move(object_name)) {}

    HRESULT QueryInterface(REFIID, void** object) override
    {
        record_call(name + ".QueryInterface");
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG AddRef() override
    {
        record_call(name + ".AddRef");
        check_alive(*this, "AddRef");
        return ++references;
    }

    ULONG Release() override
    {
        record_call(name + ".Release");
        if (references == 0) {
            record_fault(name + " released more often than it was referenced");
            return 0;
        }
        return --references;
    }
};

} // namespace fake
