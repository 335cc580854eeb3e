#pragma once

// The report's text: what an adapter block, an output block and a desktop-mode line look like.
// Each piece is one formatted write of the whole piece to standard output.

#include <dxgi1_6.h>

// "Adapter N:" and four field lines.
void print_adapter_block(int adapter_index, const DXGI_ADAPTER_DESC1* desc);

// "    Output N:" and twelve field lines.
void print_output_block(int output_index, const DXGI_OUTPUT_DESC1* desc);

// "      Desktop mode: NAME (N)".
void print_desktop_mode(DXGI_FORMAT format);
