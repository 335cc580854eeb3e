// nitscope's main against scripted machines: exact report and failure text, exit status, the
// platform calls made and the references released.

#include "fake/program_run.h"
#include "host/machines.h"
#include "report/whole_write.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdio_ext.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const HRESULT DXGI_ERROR_INVALID_CALL = static_cast<HRESULT>(0x887A0001);
const HRESULT DXGI_ERROR_UNSUPPORTED = static_cast<HRESULT>(0x887A0004);
const HRESULT DXGI_STATUS_OCCLUDED = static_cast<HRESULT>(0x087A0001);
const HRESULT S_FALSE = 1;

class walk : public ::testing::Test {
protected:
    program_run run(const fake_machine& machine, stdout_destination destination = stdout_destination::file)
    {
        install_fake_machine(machine);
        return run_nitscope(destination);
    }

    void TearDown() override
    {
        check_all_released();
        EXPECT_THAT(trace().faults, IsEmpty());
    }
};

fake_output named_output(const char16_t* name, DXGI_FORMAT mode_format = DXGI_FORMAT_B8G8R8A8_UNORM)
{
    fake_output output;
    set_name(output.desc.DeviceName, name);
    output.desc.AttachedToDesktop = 1;
    output.mode_format = mode_format;
    return output;
}

fake_adapter named_adapter(const char16_t* name, std::vector<fake_output> outputs)
{
    fake_adapter adapter;
    set_name(adapter.desc.Description, name);
    adapter.outputs = std::move(outputs);
    return adapter;
}

// Two adapters with two outputs each.
fake_machine two_by_two()
{
    fake_machine machine;
    machine.adapters = {
        named_adapter(u"GPU A", {named_output(u"A1"), named_output(u"A2", DXGI_FORMAT_R16G16B16A16_FLOAT)}),
        named_adapter(u"GPU B", {named_output(u"B1"), named_output(u"B2")}),
    };
    return machine;
}

// The header, name and desktop-mode lines of a report, in order.
std::vector<std::string> outline(const std::string& report)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < report.size()) {
        const size_t end = report.find('\n', start);
        const std::string line = report.substr(start, end - start);
        for (const char* label : {"Adapter ", "    Output ", "  Device Name: ", "      Device Name: ",
                                  "      Desktop mode: "}) {
            if (line.rfind(label, 0) == 0) {
                lines.push_back(line);
                break;
            }
        }
        start = end == std::string::npos ? report.size() : end + 1;
    }
    return lines;
}

TEST_F(walk, one_adapter_one_output_prints_the_whole_report)
{
    const program_run result = run(example_machine());
    EXPECT_EQ(result.out, example_report());
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(trace().calls,
                ElementsAre("CreateDXGIFactory1 IID_IDXGIFactory5",
                            "factory.EnumAdapters1 0",
                            "adapter 0.GetDesc1",
                            "D3D11CreateDevice adapter 0",
                            "adapter 0.EnumOutputs 0",
                            "output 0.0.QueryInterface IID_IDXGIOutput6",
                            "output6 0.0.GetDesc1",
                            "output6 0.0.FindClosestMatchingMode1 device 0",
                            "output 0.0.Release",
                            "output6 0.0.Release",
                            "adapter 0.EnumOutputs 1",
                            "adapter 0.Release",
                            "device 0.Release",
                            "factory.EnumAdapters1 1",
                            "factory.Release",
                            "GetConsoleWindow"));
}

TEST_F(walk, each_report_piece_leaves_in_one_write)
{
    const program_run result = run(example_machine());
    const std::string report = example_report();
    const size_t output_at = report.find("    Output 0:");
    const size_t mode_at = report.find("      Desktop mode:");
    const std::vector<std::string> pieces = {report.substr(0, output_at),
                                             report.substr(output_at, mode_at - output_at), report.substr(mode_at)};
    // Each handed to the stream in one call, and flushed before the next one.
    EXPECT_EQ(trace().stdout_writes, pieces);
    EXPECT_EQ(flushed_texts(), pieces);
    EXPECT_EQ(result.out, report);
}

TEST_F(walk, both_streams_are_fully_buffered_for_the_run)
{
    // msvcrt.dll gives a console stream no buffer; a full one makes each flush a whole write.
    run(example_machine());
    for (FILE* stream : {stdout, stderr}) {
        EXPECT_EQ(__fbufsize(stream), whole_write_size);
        EXPECT_EQ(__flbf(stream), 0);
    }
}

TEST_F(walk, device_is_asked_for_on_the_adapter_with_no_extras)
{
    run(example_machine());
    ASSERT_EQ(trace().device_requests.size(), 1u);
    const device_request& request = trace().device_requests[0];
    EXPECT_EQ(request.adapter, "adapter 0");
    EXPECT_EQ(request.driver_type, D3D_DRIVER_TYPE_UNKNOWN);
    EXPECT_EQ(request.software, nullptr);
    EXPECT_EQ(request.flags, 0u);
    EXPECT_EQ(request.feature_levels, nullptr);
    EXPECT_EQ(request.feature_level_count, 0u);
    EXPECT_EQ(request.sdk_version, 7u);
    EXPECT_TRUE(request.device_slot_given);
    EXPECT_FALSE(request.chosen_feature_level_given);
    EXPECT_FALSE(request.immediate_context_given);
}

TEST_F(walk, two_adapters_with_two_outputs_each_in_order)
{
    const program_run result = run(two_by_two());
    EXPECT_THAT(outline(result.out),
                ElementsAre("Adapter 0:", "  Device Name: GPU A",
                            "    Output 0:", "      Device Name: A1",
                            "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)",
                            "    Output 1:", "      Device Name: A2",
                            "      Desktop mode: DXGI_FORMAT_R16G16B16A16_FLOAT (10)",
                            "Adapter 1:", "  Device Name: GPU B",
                            "    Output 0:", "      Device Name: B1",
                            "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)",
                            "    Output 1:", "      Device Name: B2",
                            "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)"));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    // A new device for every adapter, and each output's search is given its own adapter's.
    EXPECT_THAT(calls_containing("FindClosestMatchingMode1"),
                ElementsAre("output6 0.0.FindClosestMatchingMode1 device 0",
                            "output6 0.1.FindClosestMatchingMode1 device 0",
                            "output6 1.0.FindClosestMatchingMode1 device 1",
                            "output6 1.1.FindClosestMatchingMode1 device 1"));
    EXPECT_THAT(calls_containing(".Release"),
                ElementsAre("output 0.0.Release", "output6 0.0.Release",
                            "output 0.1.Release", "output6 0.1.Release",
                            "adapter 0.Release", "device 0.Release",
                            "output 1.0.Release", "output6 1.0.Release",
                            "output 1.1.Release", "output6 1.1.Release",
                            "adapter 1.Release", "device 1.Release",
                            "factory.Release"));
}

TEST_F(walk, no_adapters_writes_nothing_and_succeeds)
{
    const program_run result = run(fake_machine{});
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(trace().calls, ElementsAre("CreateDXGIFactory1 IID_IDXGIFactory5", "factory.EnumAdapters1 0",
                                           "factory.Release", "GetConsoleWindow"));
}

TEST_F(walk, an_adapter_without_outputs_is_listed_and_the_walk_goes_on)
{
    fake_machine machine;
    machine.adapters = {named_adapter(u"Render only", {}), named_adapter(u"GPU", {named_output(u"D1")})};
    const program_run result = run(machine);
    EXPECT_THAT(outline(result.out),
                ElementsAre("Adapter 0:", "  Device Name: Render only", "Adapter 1:", "  Device Name: GPU",
                            "    Output 0:", "      Device Name: D1",
                            "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)"));
    EXPECT_EQ(result.status, 0);
}

TEST_F(walk, an_adapter_without_a_device_has_no_desktop_mode_lines)
{
    fake_machine machine = two_by_two();
    machine.adapters[0].device_fails = true;
    const program_run result = run(machine);
    EXPECT_THAT(outline(result.out),
                ElementsAre("Adapter 0:", "  Device Name: GPU A",
                            "    Output 0:", "      Device Name: A1",
                            "    Output 1:", "      Device Name: A2",
                            "Adapter 1:", "  Device Name: GPU B",
                            "    Output 0:", "      Device Name: B1",
                            "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)",
                            "    Output 1:", "      Device Name: B2",
                            "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)"));
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(calls_containing("FindClosestMatchingMode1"),
                ElementsAre("output6 1.0.FindClosestMatchingMode1 device 1",
                            "output6 1.1.FindClosestMatchingMode1 device 1"));
}

TEST_F(walk, fills_that_do_nothing_show_as_zeros)
{
    fake_output output = named_output(u"ignored");
    output.fills_desc = false;
    output.mode_search_writes = false;
    fake_adapter adapter = named_adapter(u"ignored", {output, output});
    adapter.fills_desc = false;
    fake_machine machine;
    machine.adapters = {adapter, adapter};
    const program_run result = run(machine);

    const std::string zero_output = std::string(zero_output_fields()) + "      Desktop mode: DXGI_FORMAT_UNKNOWN (0)\n";
    std::string expected;
    for (const char* index : {"0", "1"}) {
        expected += std::string("Adapter ") + index + ":\n"
                    "  Device Name: \n"
                    "  Device ID: 0000:0000 (rev 00)\n"
                    "  Subsystem ID: 0000:0000\n"
                    "  LUID: 0000000000000000\n"
                    "    Output 0:\n" + zero_output + "    Output 1:\n" + zero_output;
    }
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.status, 0);
}

TEST_F(walk, records_reused_between_items_are_cleared_before_each_fill)
{
    // Each record is dirty from the item before; the fake notes any fill or search that is
    // handed a record that is not all zero bytes (checked in TearDown).
    const program_run result = run(two_by_two());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(calls_containing("GetDesc1").size(), 6u);
    EXPECT_EQ(calls_containing("FindClosestMatchingMode1").size(), 4u);
}

TEST_F(walk, success_statuses_other_than_zero_are_success)
{
    fake_machine machine = example_machine();
    machine.factory_status = S_FALSE;
    machine.adapters[0].enum_status = DXGI_STATUS_OCCLUDED;
    machine.adapters[0].outputs[0].enum_status = S_FALSE;
    machine.adapters[0].outputs[0].query_status = DXGI_STATUS_OCCLUDED;
    const program_run result = run(machine);
    EXPECT_EQ(result.out, example_report());
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
}

struct failure_case {
    const char* what;
    fake_machine machine;
    const char* failure_line;
    std::vector<std::string> outline;
    // The releases after the failing call: the Finish step's, in its order.
    std::vector<std::string> finish_releases;
};

std::vector<failure_case> failure_cases()
{
    std::vector<failure_case> cases;

    fake_machine no_factory = two_by_two();
    no_factory.factory_status = DXGI_ERROR_UNSUPPORTED;
    cases.push_back({"factory creation", no_factory, "Failed to create DXGI factory: 0x887a0004\n", {}, {}});

    fake_machine second_adapter_fails = two_by_two();
    second_adapter_fails.adapters[1].enum_status = E_FAIL;
    cases.push_back({"second adapter enumeration", second_adapter_fails, "Failed get adapter: 0x80004005\n",
                     {"Adapter 0:", "  Device Name: GPU A", "    Output 0:", "      Device Name: A1",
                      "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)", "    Output 1:",
                      "      Device Name: A2", "      Desktop mode: DXGI_FORMAT_R16G16B16A16_FLOAT (10)"},
                     {"factory.Release"}});

    fake_machine adapter_end_fails = two_by_two();
    adapter_end_fails.adapters.resize(1);
    adapter_end_fails.adapters_end_status = DXGI_ERROR_INVALID_CALL;
    cases.push_back({"adapter enumeration past the last adapter", adapter_end_fails,
                     "Failed get adapter: 0x887a0001\n",
                     {"Adapter 0:", "  Device Name: GPU A", "    Output 0:", "      Device Name: A1",
                      "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)", "    Output 1:",
                      "      Device Name: A2", "      Desktop mode: DXGI_FORMAT_R16G16B16A16_FLOAT (10)"},
                     {"factory.Release"}});

    fake_machine second_output_fails = two_by_two();
    second_output_fails.adapters[0].outputs[1].enum_status = DXGI_ERROR_INVALID_CALL;
    cases.push_back({"second output enumeration", second_output_fails, "Failed get output: 0x887a0001\n",
                     {"Adapter 0:", "  Device Name: GPU A", "    Output 0:", "      Device Name: A1",
                      "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)"},
                     {"factory.Release", "adapter 0.Release", "device 0.Release"}});

    fake_machine output_end_fails = two_by_two();
    output_end_fails.adapters[1].outputs_end_status = E_FAIL;
    output_end_fails.adapters[1].device_fails = true;
    cases.push_back({"output enumeration past the last output, no device", output_end_fails,
                     "Failed get output: 0x80004005\n",
                     {"Adapter 0:", "  Device Name: GPU A", "    Output 0:", "      Device Name: A1",
                      "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)", "    Output 1:",
                      "      Device Name: A2", "      Desktop mode: DXGI_FORMAT_R16G16B16A16_FLOAT (10)",
                      "Adapter 1:", "  Device Name: GPU B", "    Output 0:", "      Device Name: B1",
                      "    Output 1:", "      Device Name: B2"},
                     {"factory.Release", "adapter 1.Release"}});

    fake_machine no_output6 = two_by_two();
    no_output6.adapters[0].outputs[1].query_status = E_NOINTERFACE;
    no_output6.adapters[0].outputs.push_back(named_output(u"never visited"));
    cases.push_back({"IDXGIOutput6 query on the second output", no_output6,
                     "DXGI 1.6 not supported: 0x80004002\n",
                     {"Adapter 0:", "  Device Name: GPU A", "    Output 0:", "      Device Name: A1",
                      "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)"},
                     {"factory.Release", "adapter 0.Release", "device 0.Release", "output 0.1.Release"}});

    fake_machine no_output6_no_device = no_output6;
    no_output6_no_device.adapters[0].device_fails = true;
    cases.push_back({"IDXGIOutput6 query without a device", no_output6_no_device,
                     "DXGI 1.6 not supported: 0x80004002\n",
                     {"Adapter 0:", "  Device Name: GPU A", "    Output 0:", "      Device Name: A1"},
                     {"factory.Release", "adapter 0.Release", "output 0.1.Release"}});
    return cases;
}

// The releases made after the failing call: the Finish step's, in its order.
std::vector<std::string> releases_after_failing_call()
{
    const std::vector<std::string>& calls = trace().calls;
    size_t failing_call = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].find(".Release") == std::string::npos && calls[i] != "GetConsoleWindow") {
            failing_call = i;
        }
    }
    std::vector<std::string> releases;
    for (size_t i = failing_call + 1; i < calls.size(); ++i) {
        if (calls[i].find(".Release") != std::string::npos) {
            releases.push_back(calls[i]);
        }
    }
    return releases;
}

TEST_F(walk, each_failure_writes_its_line_stops_and_releases_what_is_held)
{
    for (const failure_case& c : failure_cases()) {
        SCOPED_TRACE(c.what);
        const program_run result = run(c.machine);
        EXPECT_EQ(result.err, c.failure_line);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(outline(result.out), c.outline);
        // The failure line leaves in one write, after every piece written before it.
        ASSERT_FALSE(trace().flushes.empty());
        EXPECT_TRUE(trace().flushes.back().to_stderr);
        EXPECT_THAT(flushed_texts(true), ElementsAre(c.failure_line));
        EXPECT_EQ(releases_after_failing_call(), c.finish_releases);
        EXPECT_THAT(calls_containing("never visited"), IsEmpty());
        EXPECT_EQ(trace().calls.back(), "GetConsoleWindow");
        check_all_released();
        EXPECT_THAT(trace().faults, IsEmpty());
    }
}

TEST_F(walk, a_failure_visits_nothing_after_it)
{
    fake_machine machine = two_by_two();
    machine.adapters[0].outputs[1].query_status = E_NOINTERFACE;
    run(machine);
    EXPECT_THAT(calls_containing("EnumOutputs"), ElementsAre("adapter 0.EnumOutputs 0", "adapter 0.EnumOutputs 1"));
    EXPECT_THAT(calls_containing("EnumAdapters1"), ElementsAre("factory.EnumAdapters1 0"));
}

TEST_F(walk, not_found_ends_an_enumeration_without_a_failure_line)
{
    fake_machine machine = two_by_two();
    const program_run result = run(machine);
    EXPECT_EQ(result.err, "");
    EXPECT_THAT(calls_containing("EnumOutputs"),
                ElementsAre("adapter 0.EnumOutputs 0", "adapter 0.EnumOutputs 1", "adapter 0.EnumOutputs 2",
                            "adapter 1.EnumOutputs 0", "adapter 1.EnumOutputs 1", "adapter 1.EnumOutputs 2"));
    EXPECT_THAT(calls_containing("EnumAdapters1"),
                ElementsAre("factory.EnumAdapters1 0", "factory.EnumAdapters1 1", "factory.EnumAdapters1 2"));
}

TEST_F(walk, a_report_that_cannot_be_written_fails_the_run)
{
    const program_run result = run(example_machine(), stdout_destination::full_device);
    EXPECT_EQ(result.err, "Failed to write report\n");
    EXPECT_THAT(flushed_texts(true), ElementsAre("Failed to write report\n"));
    EXPECT_EQ(result.status, 1);
    // The check comes after every release.
    EXPECT_EQ(calls_containing(".Release").back(), "factory.Release");
}

TEST_F(walk, a_walk_failure_and_a_write_failure_give_one_failure_line)
{
    fake_machine machine = two_by_two();
    machine.adapters[1].enum_status = E_FAIL;
    const program_run result = run(machine, stdout_destination::full_device);
    EXPECT_EQ(result.err, "Failed get adapter: 0x80004005\n");
    EXPECT_EQ(result.status, 1);
}

TEST_F(walk, an_empty_report_on_a_full_device_is_no_failure)
{
    const program_run result = run(fake_machine{}, stdout_destination::full_device);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
}

} // namespace
