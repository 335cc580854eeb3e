#include "fake/fake_state.h"

#include <vector>

namespace fake {
namespace {

fake_machine installed_machine;
fake_trace current_trace;
std::vector<std::unique_ptr<fake_object>> objects;

} // namespace

fake_machine& machine()
{
    return installed_machine;
}

fake_trace& mutable_trace()
{
    return current_trace;
}

void record_call(const std::string& call)
{
    current_trace.calls.push_back(call);
}

void record_fault(const std::string& fault)
{
    current_trace.faults.push_back(fault);
}

void keep(std::unique_ptr<fake_object> object)
{
    objects.push_back(std::move(object));
}

void check_alive(const fake_object& object, const char* method)
{
    if (object.references == 0) {
        record_fault(object.name + "." + method + " called after its last Release");
    }
}

bool all_zero_bytes(const void* record, size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(record);
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

} // namespace fake

void install_fake_machine(const fake_machine& machine)
{
    fake::objects.clear();
    fake::installed_machine = machine;
    fake::current_trace = fake_trace{};
}

void check_all_released()
{
    for (const std::unique_ptr<fake::fake_object>& object : fake::objects) {
        if (object->references != 0) {
            fake::record_fault(object->name + " still holds " + std::to_string(object->references) +
                               " reference(s) at exit");
        }
    }
}

const fake_trace& trace()
{
    return fake::current_trace;
}

std::vector<std::string> calls_containing(const std::string& fragment)
{
    std::vector<std::string> found;
    for (const std::string& call : fake::current_trace.calls) {
        if (call.find(fragment) != std::string::npos) {
            found.push_back(call);
        }
    }
    return found;
}
