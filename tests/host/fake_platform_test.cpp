// The fake's own checks must be able to fail, or the walk tests that rely on them prove nothing.

#include "fake/fake_machine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

fake_machine one_output_machine()
{
    fake_machine machine;
    machine.adapters = {fake_adapter{}};
    machine.adapters[0].outputs = {fake_output{}};
    return machine;
}

TEST(fake_platform, notices_dirty_records_leaks_and_double_releases)
{
    install_fake_machine(one_output_machine());
    IDXGIFactory5* factory = nullptr;
    ASSERT_EQ(CreateDXGIFactory1(IID_IDXGIFactory5, reinterpret_cast<void**>(&factory)), S_OK);
    IDXGIAdapter1* adapter = nullptr;
    ASSERT_EQ(factory->EnumAdapters1(0, &adapter), S_OK);

    DXGI_ADAPTER_DESC1 dirty;
    memset(&dirty, 0x5A, sizeof dirty);
    adapter->GetDesc1(&dirty);
    adapter->Release();
    adapter->Release();
    check_all_released();

    EXPECT_THAT(trace().faults,
                ElementsAre(HasSubstr("adapter 0.GetDesc1: the adapter description was not all zero bytes"),
                            "adapter 0 released more often than it was referenced",
                            "factory still holds 1 reference(s) at exit"));
    factory->Release();
}

TEST(fake_platform, notices_use_after_release_and_a_dirty_mode_record)
{
    install_fake_machine(one_output_machine());
    IDXGIFactory5* factory = nullptr;
    CreateDXGIFactory1(IID_IDXGIFactory5, reinterpret_cast<void**>(&factory));
    IDXGIAdapter1* adapter = nullptr;
    factory->EnumAdapters1(0, &adapter);
    IDXGIOutput* output = nullptr;
    adapter->EnumOutputs(0, &output);
    IDXGIOutput6* output6 = nullptr;
    output->QueryInterface(IID_IDXGIOutput6, reinterpret_cast<void**>(&output6));
    output6->Release();

    DXGI_MODE_DESC1 mode_to_match{};
    DXGI_MODE_DESC1 closest_match{};
    mode_to_match.Width = 1;
    output6->FindClosestMatchingMode1(&mode_to_match, &closest_match, nullptr);
    output->Release();
    adapter->Release();
    factory->Release();

    EXPECT_THAT(trace().faults,
                ElementsAre("output6 0.0.FindClosestMatchingMode1 called after its last Release",
                            "output6 0.0.FindClosestMatchingMode1 nothing: the mode to match was not all zero bytes"));
}

TEST(fake_platform, notices_an_owner_identifier_that_was_not_cleared)
{
    fake_machine machine;
    machine.console = console_window::of_this_process;
    install_fake_machine(machine);
    DWORD owner = 12345;
    GetWindowThreadProcessId(GetConsoleWindow(), &owner);
    EXPECT_THAT(trace().faults, ElementsAre("the owner identifier was not 0 before the owner query"));
    EXPECT_EQ(owner, GetCurrentProcessId());
}

} // namespace
